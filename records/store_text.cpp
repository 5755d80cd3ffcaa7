#include "records/store_text.h"

#include <algorithm>

#include "common/gbk.h"

namespace quovella {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

}  // namespace

std::string storeTextFromGbk(std::string_view gbkText) {
    return isAsciiText(gbkText) ? std::string(gbkText) : gbkToUtf8(gbkText);
}

std::string gbkFromStoreText(std::string_view utf8Text) {
    return isAsciiText(utf8Text) ? std::string(utf8Text) : utf8ToGbk(utf8Text);
}

bool sameColumnName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    while (i < a.size()) {
        if (isGbkLeadByte(static_cast<unsigned char>(a[i]))) {
            if (a.substr(i, 2) != b.substr(i, 2)) return false;
            i += 2;
        } else {
            if (lower(a[i]) != lower(b[i])) return false;
            ++i;
        }
    }
    return true;
}

bool isPlainIdentifier(std::string_view name) {
    if (name.empty() || !isLetter(name.front())) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return isLetter(c) || (c >= '0' && c <= '9'); });
}

std::string quotedIdentifier(std::string_view name) {
    std::string out = "\"";
    for (const char c : name) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

}  // namespace quovella
