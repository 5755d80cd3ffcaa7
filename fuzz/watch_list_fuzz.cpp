// The watch-list file "system.txt" under a run of appends, removes and outside writes, some
// rewrites made to fail half-way by a file-size limit. After every step the file holds the
// old list or the new one, whole, as a model of its bytes says (never a mix, never lost, no
// temporary left beside it); an accepted change returns true and a refused or failed one
// false; reading gives the model's codes or tooLarge, and joining gives them joined by ",".
//
// Input: steps, each an opcode byte and an argument up to NUL: 'a' appends the argument,
// 'r' removes it, 'A' and 'R' do the same with the rewrite failing, 'w' writes the argument
// as the file, 'b' writes 9998 to 10001 codes (by the argument's length), 'd' deletes the
// file; any other byte only reads.
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text_rules.h"
#include "fuzz_support.h"
#include "quotes/watch_list_file.h"

namespace quovella::fuzz {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view lineEnd = "\r\n";
constexpr int maxSteps = 16;

// One directory for this process, removed when it ends.
class Workspace {
  public:
    Workspace() {
        std::string name = (fs::temp_directory_path() / "quovella-fuzz-watch-XXXXXX").string();
        FUZZ_CHECK(::mkdtemp(name.data()) != nullptr);
        dir_ = name;
        // Past the file-size limit a write fails with EFBIG instead of killing the process.
        ::signal(SIGXFSZ, SIG_IGN);
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const fs::path& dir() const { return dir_; }
    fs::path file() const { return dir_ / watchListFileName; }

  private:
    fs::path dir_;
};

// The file's bytes as the program would write and read them, kept beside the real file.
class Model {
  public:
    const std::optional<std::string>& bytes() const { return bytes_; }
    const std::vector<std::string>& codes() const { return codes_; }
    bool readable() const { return readable_; }

    // none: no file.
    void set(std::optional<std::string> bytes) {
        bytes_ = std::move(bytes);
        codes_ = codesOf(bytes_.value_or(""));
        readable_ = !bytes_ || withinBounds(*bytes_, codes_);
    }

    // The file an append would write; none when it is refused.
    std::optional<std::string> appended(std::string_view code) const {
        std::string content = bytes_.value_or("");
        if (content.size() > maxWatchListBytes) return std::nullopt;
        content.append(code);
        content.append(lineEnd);
        if (!withinBounds(content, codesOf(content))) return std::nullopt;
        return content;
    }

    std::optional<std::string> removed(std::string_view code) const {
        if (!readable_) return std::nullopt;
        std::string content;
        for (const std::string& line : codes_) {
            if (line == code) continue;
            content += line;
            content.append(lineEnd);
        }
        return content;
    }

  private:
    static std::vector<std::string> codesOf(const std::string& bytes) {
        return splitText(upToFirstNul(bytes), lineEnd);
    }
    static bool withinBounds(const std::string& bytes, const std::vector<std::string>& codes) {
        return bytes.size() <= maxWatchListBytes && codes.size() <= maxWatchCodes;
    }

    std::optional<std::string> bytes_;
    std::vector<std::string> codes_;
    bool readable_ = true;
};

std::optional<std::string> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<long>(bytes.size()));
}

// Runs a rewrite with files limited to `limit` bytes, so writing a longer one fails.
template <typename Rewrite>
bool underSizeLimit(rlim_t limit, Rewrite rewrite) {
    rlimit old{};
    FUZZ_CHECK(::getrlimit(RLIMIT_FSIZE, &old) == 0);
    rlimit tight = old;
    tight.rlim_cur = limit;
    FUZZ_CHECK(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
    const bool done = rewrite();
    FUZZ_CHECK(::setrlimit(RLIMIT_FSIZE, &old) == 0);
    return done;
}

// A rewrite to `wanted` (none: refused); with `failing`, one that has bytes to write fails.
template <typename Rewrite>
void rewriteStep(Model& model, const std::optional<std::string>& wanted, bool failing,
                 Rewrite rewrite) {
    const bool canFail = failing && wanted && !wanted->empty();
    const bool done = canFail ? underSizeLimit(wanted->size() / 2, rewrite) : rewrite();
    const bool accepted = wanted && !canFail;
    FUZZ_CHECK(done == accepted);
    if (accepted) model.set(wanted);
}

void checkFile(const Workspace& space, const Model& model) {
    const fs::path path = space.file();
    FUZZ_CHECK(fileBytes(path) == model.bytes());
    int entries = 0;
    for ([[maybe_unused]] const fs::directory_entry& entry : fs::directory_iterator(space.dir())) {
        ++entries;
    }
    FUZZ_CHECK(entries == (model.bytes() ? 1 : 0));

    const WatchListRead read = readWatchList(path);
    std::string joined;
    if (!model.bytes()) {
        FUZZ_CHECK(read.status == WatchListRead::Status::missing);
    } else if (!model.readable()) {
        FUZZ_CHECK(read.status == WatchListRead::Status::tooLarge);
    } else {
        FUZZ_CHECK(read.status == WatchListRead::Status::read);
        FUZZ_CHECK(read.codes == model.codes());
        for (std::size_t i = 0; i < read.codes.size(); ++i) {
            joined += (i > 0 ? "," : "") + read.codes[i];
        }
    }
    if (read.status != WatchListRead::Status::read) FUZZ_CHECK(read.codes.empty());
    FUZZ_CHECK(joinWatchCodes(path) == joined);
}

}  // namespace

void testOneInput(Input input) {
    static const Workspace space;
    const fs::path path = space.file();
    fs::remove(path);
    Model model;
    for (int step = 0; step < maxSteps && !input.empty(); ++step) {
        const char op = static_cast<char>(input.byte());
        const std::string_view argument = input.until('\0');
        switch (op) {
            case 'a':
            case 'A':
                rewriteStep(model, model.appended(argument), op == 'A',
                            [&] { return appendWatchCode(path, argument); });
                break;
            case 'r':
            case 'R':
                rewriteStep(model, model.removed(argument), op == 'R',
                            [&] { return removeWatchCode(path, argument); });
                break;
            case 'w':
                writeFile(path, argument);
                model.set(std::string(argument));
                break;
            case 'b': {
                std::string many;
                for (std::size_t k = 0; k < maxWatchCodes - 2 + argument.size() % 4; ++k) {
                    many += "1\r\n";
                }
                writeFile(path, many);
                model.set(std::move(many));
                break;
            }
            case 'd':
                fs::remove(path);
                model.set(std::nullopt);
                break;
            default:
                break;
        }
        checkFile(space, model);
    }
}

}  // namespace quovella::fuzz
