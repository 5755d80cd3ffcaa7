#pragma once
// The text rules every reader of quote replies and files uses. Positions are byte
// positions counted from 1; matching ignores letter case, never starts on the trail byte
// of a double-byte GBK character and never ends inside one.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

// 0-based index of the first occurrence of needle at or after 0-based index from, stepping
// over double-byte characters; npos when there is none. An empty needle matches at from.
// from must start a character (every position a previous match returned does).
std::size_t findText(std::string_view text, std::string_view needle, std::size_t from = 0);

// The bytes after the first left delimiter (at or after start) up to the next right
// delimiter; without a left delimiter the extraction begins at start. Empty when a
// delimiter is missing or nothing lies between.
std::string textBetween(std::string_view text, std::string_view left, std::string_view right,
                        long start = 1);
std::string textBetween(std::string_view text, std::nullptr_t noLeft, std::string_view right,
                        long start = 1);

// Cuts text at every delimiter; the rest after the last delimiter becomes an element only
// when it is not empty ("a,,b," gives a, "", b).
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

// The elements splitText gives, one at a time, as views into the text: walking a
// multi-megabyte reply costs no memory per element. The text must outlive the walk.
class TextParts {
  public:
    TextParts(std::string_view text, std::string_view delimiter);
    // The next element; nothing once the last one was given.
    std::optional<std::string_view> next();

  private:
    std::string_view text_;
    std::string_view delimiter_;
    std::size_t begin_ = 0;
};

// The first out.size() elements (fewer when the text has fewer) written into out; returns
// how many were written. The rest of the text is not looked at.
std::size_t firstParts(std::string_view text, std::string_view delimiter,
                       std::span<std::string_view> out);

// The bytes before the first NUL (all of them without one), as a C string would read them.
std::string upToFirstNul(std::string bytes);

}  // namespace quovella
