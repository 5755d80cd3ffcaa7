#pragma once
// What the fuzz targets share: the property check, a reader that deals an input out in
// pieces, the GBK character walk the text properties are stated in, and the entry point.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

// Prints the broken property and aborts, so libFuzzer keeps the input and a replay fails.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : ::quovella::fuzz::fail(#condition, __FILE__, __LINE__))

namespace quovella::fuzz {

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

// Hands the input out front to back; past its end a byte reads as 0 and a text as empty.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    bool empty() const { return rest_.empty(); }

    std::uint8_t byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }

    // The bytes up to the next `end` (which is consumed, not returned) or to the end.
    std::string_view until(char end) {
        const std::size_t at = rest_.find(end);
        const std::string_view piece = rest_.substr(0, at);
        rest_.remove_prefix(at == std::string_view::npos ? rest_.size() : at + 1);
        return piece;
    }

    std::string_view rest() {
        const std::string_view all = rest_;
        rest_ = {};
        return all;
    }

  private:
    std::string_view rest_;
};

// Entry i tells whether byte i starts a character when the text is walked from its first
// byte: a byte from 0x80 on takes the byte after it as its trail.
inline std::vector<bool> characterStarts(std::string_view text) {
    std::vector<bool> starts(text.size(), false);
    for (std::size_t i = 0; i < text.size();
         i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2U : 1U) {
        starts[i] = true;
    }
    return starts;
}

// The text cut at every one-byte ASCII delimiter that starts a character, the rest after the
// last one kept only when it is not empty: the text rules' split, written the plain way.
inline std::vector<std::string_view> cutAtCharacter(std::string_view text, char delimiter) {
    std::vector<std::string_view> parts;
    const std::vector<bool> starts = characterStarts(text);
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (starts[i] && text[i] == delimiter) {
            parts.push_back(text.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    if (begin < text.size()) parts.push_back(text.substr(begin));
    return parts;
}

// What a target checks on each input; every target defines it.
void testOneInput(Input input);

}  // namespace quovella::fuzz

// A target is one source file, so each program gets this entry point once.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quovella::fuzz::testOneInput(quovella::fuzz::Input(data, size));
    return 0;
}
