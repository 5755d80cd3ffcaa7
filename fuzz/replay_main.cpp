// Runs a fuzz target over every file of the directories (or the files) named on the command
// line, in name order, without libFuzzer: the normal build replays the committed corpus as a
// test, and a found input can be rerun under a debugger.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool collect(const fs::path& place, std::vector<fs::path>& files) {
    std::error_code error;
    if (fs::is_regular_file(place, error)) {
        files.push_back(place);
        return true;
    }
    for (fs::directory_iterator it(place, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error)) files.push_back(it->path());
    }
    if (error) std::fprintf(stderr, "%s: %s\n", place.c_str(), error.message().c_str());
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!collect(argv[i], files)) return 2;
    }
    // An empty corpus would pass without testing anything.
    if (files.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 2;
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(file, error);
        std::vector<char> bytes(error ? 0 : size);
        std::ifstream in(file, std::ios::binary);
        if (error || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            std::fprintf(stderr, "%s: cannot be read\n", file.c_str());
            return 2;
        }
        // libFuzzer never passes a null pointer, not even for an empty input.
        static const std::uint8_t none = 0;
        const auto* data =
            bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data());
        // Named first, so a broken property's abort shows which input it was.
        std::printf("%s\n", file.c_str());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(data, bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
