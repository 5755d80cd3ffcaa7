#include "common/text_rules.h"

#include "common/gbk.h"

namespace quovella {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only single-byte letters fold: the trail byte of a double-byte character may look like an
// ASCII letter (0x81 0x41 and 0x81 0x61 are different characters). A double-byte character
// matches whole: a needle ending in a lone lead byte matches only a lone lead byte at the
// text's end, never the first half of a character, after which the walk would go on from a
// trail byte.
bool matchesAt(std::string_view text, std::size_t at, std::string_view needle) {
    if (text.size() - at < needle.size()) return false;
    for (std::size_t k = 0; k < needle.size(); ++k) {
        if (isGbkLeadByte(static_cast<unsigned char>(needle[k]))) {
            if (text.substr(at + k, 2) != needle.substr(k, 2)) return false;
            ++k;
        } else if (lower(text[at + k]) != lower(needle[k])) {
            return false;
        }
    }
    return true;
}

std::size_t nextCharacter(std::string_view text, std::size_t i) {
    return i + (isGbkLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1);
}

std::string between(std::string_view text, const std::string_view* left, std::string_view right,
                    long start) {
    std::size_t begin = static_cast<std::size_t>(start < 1 ? 0 : start - 1);
    if (begin > text.size()) return {};
    if (left != nullptr) {
        const std::size_t at = findText(text, *left, begin);
        if (at == std::string_view::npos) return {};
        begin = at + left->size();
    }
    if (right.empty()) return {};
    const std::size_t end = findText(text, right, begin);
    if (end == std::string_view::npos || end <= begin) return {};
    return std::string(text.substr(begin, end - begin));
}

}  // namespace

std::size_t findText(std::string_view text, std::string_view needle, std::size_t from) {
    std::size_t i = from;
    if (needle.empty()) return i <= text.size() ? i : std::string_view::npos;
    const char first = lower(needle.front());
    while (i < text.size()) {
        if (lower(text[i]) == first && matchesAt(text, i, needle)) return i;
        i = nextCharacter(text, i);
    }
    return std::string_view::npos;
}

std::string textBetween(std::string_view text, std::string_view left, std::string_view right,
                        long start) {
    return between(text, &left, right, start);
}

std::string textBetween(std::string_view text, std::nullptr_t, std::string_view right, long start) {
    return between(text, nullptr, right, start);
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> parts;
    TextParts walk(text, delimiter);
    while (const std::optional<std::string_view> part = walk.next()) parts.emplace_back(*part);
    return parts;
}

TextParts::TextParts(std::string_view text, std::string_view delimiter)
    : text_(text), delimiter_(delimiter) {}

std::optional<std::string_view> TextParts::next() {
    if (begin_ >= text_.size()) return std::nullopt;
    // An empty delimiter never matches: the whole text is one element.
    const std::size_t at =
        delimiter_.empty() ? std::string_view::npos : findText(text_, delimiter_, begin_);
    const std::size_t end = at == std::string_view::npos ? text_.size() : at;
    const std::string_view part = text_.substr(begin_, end - begin_);
    begin_ = at == std::string_view::npos ? text_.size() : at + delimiter_.size();
    return part;
}

std::size_t firstParts(std::string_view text, std::string_view delimiter,
                       std::span<std::string_view> out) {
    TextParts walk(text, delimiter);
    std::size_t count = 0;
    while (count < out.size()) {
        const std::optional<std::string_view> part = walk.next();
        if (!part) break;
        out[count++] = *part;
    }
    return count;
}

std::string upToFirstNul(std::string bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
    return bytes;
}

}  // namespace quovella
