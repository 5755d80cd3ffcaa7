// The GBK conversions on any bytes. A text converts as its characters do one by one, and a
// byte that starts no valid character becomes one '?' (the bytes after it are read afresh).
// So valid GBK goes to UTF-8 or UTF-16 and back unchanged, and any GBK comes back with each
// invalid byte as '?'. The same holds from UTF-8 (bytes of no valid UTF-8 sequence) and
// from UTF-16 (lone surrogates), and both outputs of a GBK text say the same characters.
//
// Input: any bytes, read as GBK, as UTF-8 and as UTF-16LE.
#include <string>
#include <string_view>
#include <vector>

#include "common/gbk.h"
#include "fuzz_support.h"

namespace quovella::fuzz {
namespace {

struct Unit {
    std::string_view bytes;
    bool valid = false;
};

// A character alone converts to a character, not to the '?' of a byte that starts none.
bool validGbk(std::string_view character) {
    const std::string utf8 = gbkToUtf8(character);
    return character == "?" || (!utf8.empty() && utf8.front() != '?');
}

// The text cut into GBK characters, longest first, and bytes that start none.
std::vector<Unit> gbkUnits(std::string_view text) {
    std::vector<Unit> units;
    for (std::size_t i = 0; i < text.size();) {
        const std::string_view pair = text.substr(i, 2);
        if (pair.size() == 2 && static_cast<unsigned char>(pair[0]) >= 0x81 && validGbk(pair)) {
            units.push_back({pair, true});
            i += 2;
        } else {
            units.push_back({text.substr(i, 1), validGbk(text.substr(i, 1))});
            i += 1;
        }
    }
    return units;
}

// The length of the well-formed UTF-8 sequence at the front of the text; 0 for none.
std::size_t utf8Length(std::string_view text) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto tail = [&](std::size_t i) { return i < text.size() && (b(i) & 0xC0) == 0x80; };
    if (b(0) < 0x80) return 1;
    if (b(0) >= 0xC2 && b(0) <= 0xDF) return tail(1) ? 2 : 0;
    if (b(0) >= 0xE0 && b(0) <= 0xEF) {
        if (!tail(1) || !tail(2)) return 0;
        if (b(0) == 0xE0 && b(1) < 0xA0) return 0;   // overlong
        if (b(0) == 0xED && b(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (b(0) >= 0xF0 && b(0) <= 0xF4) {
        if (!tail(1) || !tail(2) || !tail(3)) return 0;
        if (b(0) == 0xF0 && b(1) < 0x90) return 0;   // overlong
        if (b(0) == 0xF4 && b(1) >= 0x90) return 0;  // past U+10FFFF
        return 4;
    }
    return 0;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = utf8Length(utf8.substr(i));
        FUZZ_CHECK(n > 0);
        char32_t c = static_cast<char32_t>(static_cast<unsigned char>(utf8[i]) &
                                           (n == 1 ? 0x7F : 0xFF >> (n + 1)));
        for (std::size_t k = 1; k < n; ++k) c = c << 6 | (utf8[i + k] & 0x3F);
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += n;
    }
    return out;
}

void checkFromGbk(std::string_view text) {
    std::string utf8;
    std::string repaired;
    for (const Unit& unit : gbkUnits(text)) {
        utf8 += unit.valid ? gbkToUtf8(unit.bytes) : "?";
        repaired += unit.valid ? unit.bytes : "?";
    }
    FUZZ_CHECK(gbkToUtf8(text) == utf8);
    FUZZ_CHECK(gbkToUtf16(text) == utf8ToUtf16(utf8));
    FUZZ_CHECK(utf8ToGbk(utf8) == repaired);
    FUZZ_CHECK(utf16ToGbk(gbkToUtf16(text)) == repaired);
}

void checkFromUtf8(std::string_view text) {
    std::string gbk;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text.substr(i));
        // A character GBK lacks is the converter's to mark; only its being context-free is
        // checked.
        gbk += n == 0 ? "?" : utf8ToGbk(text.substr(i, n));
        i += n == 0 ? 1 : n;
    }
    FUZZ_CHECK(utf8ToGbk(text) == gbk);
}

void checkFromUtf16(std::u16string_view text) {
    std::string gbk;
    for (std::size_t i = 0; i < text.size();) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool pair =
            high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const bool lone = !pair && text[i] >= 0xD800 && text[i] <= 0xDFFF;
        const std::size_t n = pair ? 2 : 1;
        gbk += lone ? "?" : utf16ToGbk(text.substr(i, n));
        i += n;
    }
    FUZZ_CHECK(utf16ToGbk(text) == gbk);
}

}  // namespace

void testOneInput(Input input) {
    const std::string_view bytes = input.rest();
    checkFromGbk(bytes);
    checkFromUtf8(bytes);
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(low | high << 8));
    }
    checkFromUtf16(units);
}

}  // namespace quovella::fuzz
