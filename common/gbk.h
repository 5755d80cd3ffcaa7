#pragma once
// Conversions between the program's internal GBK (code page 936) byte strings and
// the encodings used at its boundaries: UTF-8 for the store, UTF-16 for Qt.
#include <string>
#include <string_view>

namespace quovella {

// Bytes that do not form a valid character in the source encoding become '?'.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);
std::u16string gbkToUtf16(std::string_view gbk);
std::string utf16ToGbk(std::u16string_view utf16);

// A GBK text written in the source as UTF-8: gbk("信息：").
inline std::string gbk(std::string_view utf8) {
    return utf8ToGbk(utf8);
}

// Bytes below 0x80 only: the same in GBK and UTF-8, and nothing to fold or convert.
inline bool isAsciiText(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// A lead byte of a double-byte GBK character (it and the next byte form one character).
constexpr bool isGbkLeadByte(unsigned char byte) {
    return byte >= 0x80;
}

}  // namespace quovella
