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

// A lead byte of a double-byte GBK character (it and the next byte form one character).
constexpr bool isGbkLeadByte(unsigned char byte) {
    return byte >= 0x80;
}

}  // namespace quovella
