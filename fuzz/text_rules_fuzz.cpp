// findText, textBetween and splitText on any bytes, against a plain matcher that tries every
// character start of the text walked from its first byte: a match never starts on a GBK
// trail byte nor ends inside a character, and only single-byte letters fold. splitText's
// parts joined with the delimiter give back the text (less a trailing delimiter, whose empty
// rest is no part), and TextParts and firstParts give the same parts.
//
// Input: one start byte ('1' is byte position 1, '0' is 0), then
// delimiter NUL left NUL right NUL text.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_rules.h"
#include "fuzz_support.h"

namespace quovella::fuzz {
namespace {

constexpr std::size_t npos = std::string_view::npos;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool hasLetter(std::string_view text) {
    for (const char c : text) {
        if (lower(c) >= 'a' && lower(c) <= 'z') return true;
    }
    return false;
}

// The needle at byte `at`: its single-byte characters equal but for letter case, its
// double-byte ones equal, and the match ends where a character ends.
bool matchesAt(std::string_view text, const std::vector<bool>& starts, std::size_t at,
               std::string_view needle) {
    if (at > text.size() || text.size() - at < needle.size()) return false;
    if (at < text.size() && !starts[at]) return false;
    const std::size_t end = at + needle.size();
    if (end < text.size() && !starts[end]) return false;
    const std::vector<bool> needleStarts = characterStarts(needle);
    for (std::size_t k = 0; k < needle.size(); ++k) {
        const bool single = needleStarts[k] && static_cast<unsigned char>(needle[k]) < 0x80;
        const char a = text[at + k];
        const char b = needle[k];
        if (single ? lower(a) != lower(b) : a != b) return false;
    }
    return true;
}

std::size_t plainFind(std::string_view text, const std::vector<bool>& starts,
                      std::string_view needle, std::size_t from) {
    for (std::size_t at = from; at <= text.size(); ++at) {
        if (matchesAt(text, starts, at, needle)) return at;
    }
    return npos;
}

std::vector<std::string_view> plainSplit(std::string_view text, const std::vector<bool>& starts,
                                         std::string_view delimiter) {
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t at = delimiter.empty() ? npos : plainFind(text, starts, delimiter, begin);
        const std::size_t end = at == npos ? text.size() : at;
        parts.push_back(text.substr(begin, end - begin));
        begin = at == npos ? text.size() : at + delimiter.size();
    }
    return parts;
}

void checkFind(std::string_view text, const std::vector<bool>& starts, std::string_view needle,
               std::size_t from) {
    const std::size_t at = findText(text, needle, from);
    FUZZ_CHECK(at == plainFind(text, starts, needle, from));
    FUZZ_CHECK(at == npos || at >= from);
}

void checkSplit(std::string_view text, const std::vector<bool>& starts,
                std::string_view delimiter) {
    const std::vector<std::string> parts = splitText(text, delimiter);
    const std::vector<std::string_view> plain = plainSplit(text, starts, delimiter);
    FUZZ_CHECK(parts.size() == plain.size());
    TextParts walk(text, delimiter);
    std::size_t offset = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        FUZZ_CHECK(parts[i] == plain[i]);
        const std::optional<std::string_view> view = walk.next();
        FUZZ_CHECK(view && *view == parts[i]);
        // Views of the text, one after another, a delimiter match between each two.
        FUZZ_CHECK(view->data() == text.data() + offset);
        offset += view->size();
        if (offset < text.size()) {
            FUZZ_CHECK(matchesAt(text, starts, offset, delimiter));
            offset += delimiter.size();
        }
    }
    FUZZ_CHECK(!walk.next());
    FUZZ_CHECK(offset == text.size());

    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) joined.append(delimiter);
        joined += parts[i];
    }
    // Letters in a delimiter match either case, so only a caseless delimiter joins back byte
    // for byte.
    if (!hasLetter(delimiter)) {
        FUZZ_CHECK(joined == text || joined + std::string(delimiter) == text);
    }

    std::array<std::string_view, 2> first;
    const std::size_t count = firstParts(text, delimiter, first);
    FUZZ_CHECK(count == std::min(first.size(), parts.size()));
    for (std::size_t i = 0; i < count; ++i) FUZZ_CHECK(first[i] == parts[i]);
}

// The start given as a 1-based byte position, as textBetween takes it.
void checkBetween(std::string_view text, const std::vector<bool>& starts,
                  std::optional<std::string_view> left, std::string_view right, long start) {
    const std::string between =
        left ? textBetween(text, *left, right, start) : textBetween(text, nullptr, right, start);
    std::size_t begin = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (begin < text.size() && !starts[begin]) {
        // A start inside a character walks from there: only the bytes are the text's own.
        FUZZ_CHECK(between.empty() || text.find(between, begin) != npos);
        return;
    }
    std::string expected;
    if (begin <= text.size()) {
        const std::size_t at = left ? plainFind(text, starts, *left, begin) : begin;
        if (at != npos) {
            begin = at + (left ? left->size() : 0);
            const std::size_t end = right.empty() ? npos : plainFind(text, starts, right, begin);
            if (end != npos && end > begin) expected = text.substr(begin, end - begin);
        }
    }
    FUZZ_CHECK(between == expected);
}

}  // namespace

void testOneInput(Input input) {
    const long start = static_cast<long>(input.byte()) - '0';
    const std::string_view delimiter = input.until('\0');
    const std::string_view left = input.until('\0');
    const std::string_view right = input.until('\0');
    const std::string_view text = input.rest();
    const std::vector<bool> starts = characterStarts(text);

    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    for (const std::string_view needle : {delimiter, left, right}) {
        checkFind(text, starts, needle, 0);
        if (from <= text.size() && (from == text.size() || starts[from])) {
            checkFind(text, starts, needle, from);
        }
    }
    checkSplit(text, starts, delimiter);
    checkBetween(text, starts, left, right, start);
    checkBetween(text, starts, std::nullopt, right, start);
    checkBetween(text, starts, left, right, 1);
}

}  // namespace quovella::fuzz
