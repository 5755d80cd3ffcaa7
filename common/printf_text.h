#pragma once
// printf-style text sized by the formatter itself, so no value is ever cut off and no
// length is taken from a buffer it did not fit.
#include <cstdio>
#include <string>

namespace quovella {

template <typename... Args>
std::string printfText(const char* format, Args... args) {
    const int size = std::snprintf(nullptr, 0, format, args...);
    if (size <= 0) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}

}  // namespace quovella
