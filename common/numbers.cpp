#include "common/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "common/gbk.h"

namespace quovella {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// The decimal order of magnitude of a well-formed number text (sign, digits, point,
// exponent): 0 for 1 to 9.99, -1 for 0.1 to 0.999, and so on; nullopt for zero. Tells an
// out-of-range reading too small for a double from one too large.
std::optional<long long> decimalOrder(std::string_view number) {
    std::size_t i = number.empty() || isDigit(number[0]) || number[0] == '.' ? 0 : 1;
    const std::size_t intStart = i;
    i = skipDigits(number, i);
    const std::size_t intEnd = i;
    std::optional<long long> order;
    for (std::size_t k = intStart; k < intEnd && !order; ++k) {
        if (number[k] != '0') order = static_cast<long long>(intEnd - k) - 1;
    }
    if (i < number.size() && number[i] == '.') {
        const std::size_t fracStart = ++i;
        i = skipDigits(number, i);
        for (std::size_t k = fracStart; k < i && !order; ++k) {
            if (number[k] != '0') order = -static_cast<long long>(k - fracStart) - 1;
        }
    }
    if (!order || i >= number.size()) return order;
    // An exponent: clamped far beyond any double's range.
    ++i;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    long long exponent = 0;
    for (; i < number.size() && exponent < 100000; ++i)
        exponent = exponent * 10 + (number[i] - '0');
    return *order + (negative ? -exponent : exponent);
}

}  // namespace

std::string foldFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0x80 && i + 1 < text.size()) {
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
                out.push_back(static_cast<char>(trail - 0x80));
            } else if (lead == 0xA1 && trail == 0xA1) {
                out.push_back(' ');
            } else {
                out.push_back(text[i]);
                out.push_back(text[i + 1]);
            }
            ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

double leadingDouble(std::string_view raw) {
    // Folding only ever changes double-byte characters; a plain ASCII text is read as it is.
    const bool ascii = isAsciiText(raw);
    const std::string folded = ascii ? std::string() : foldFullWidth(raw);
    const std::string_view t = ascii ? raw : std::string_view(folded);
    std::size_t i = skipBlanks(t);
    const std::size_t begin = i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t intStart = i;
    i = skipDigits(t, i);
    bool digits = i > intStart;
    if (i < t.size() && t[i] == '.') {
        const std::size_t fracStart = i + 1;
        const std::size_t fracEnd = skipDigits(t, fracStart);
        if (fracEnd > fracStart || digits) {
            digits = digits || fracEnd > fracStart;
            i = fracEnd;
        }
    }
    if (!digits) return 0.0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < t.size() && (t[e] == '+' || t[e] == '-')) ++e;
        const std::size_t expEnd = skipDigits(t, e);
        if (expEnd > e) i = expEnd;
    }
    std::string_view number = t.substr(begin, i - begin);
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool tiny = decimalOrder(number).value_or(0) < 0;
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return number.front() == '-' ? -magnitude : magnitude;
    }
    return result.ec == std::errc() ? value : 0.0;
}

namespace {

std::int64_t wholeOf(std::string_view t) {
    std::size_t i = skipBlanks(t);
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
    for (; i < t.size() && isDigit(t[i]); ++i) {
        const int digit = t[i] - '0';
        if (value > (limit - digit) / 10) {
            return negative ? std::numeric_limits<std::int64_t>::min() : limit;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

}  // namespace

std::int64_t leadingWhole(std::string_view raw) {
    // Plain ASCII has nothing to fold; a list recoloured row by row reads a million of them.
    return isAsciiText(raw) ? wholeOf(raw) : wholeOf(foldFullWidth(raw));
}

double roundTo(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = std::fabs(value) * scale + 1e-12;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) whole += 1.0;
    const double magnitude = whole / scale;
    if (magnitude == 0.0) return 0.0;
    return value < 0 ? -magnitude : magnitude;
}

namespace {

// to_chars writes what printf writes in the C locale and reads no locale itself: Qt sets the
// C library's locale from the environment, where a German desktop's decimal mark is a comma.
// The longest fixed form of a double is 309 digits, a sign and a point, plus the decimals.
std::string charsText(double value, std::chars_format format, int precision) {
    std::array<char, 340> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string();
}

}  // namespace

std::string doubleText(double value) {
    return charsText(value, std::chars_format::general, 13);
}

std::string floatText(float value) {
    return charsText(static_cast<double>(value), std::chars_format::general, 6);
}

std::string fixedText(double value, int decimals) {
    return charsText(value, std::chars_format::fixed, std::clamp(decimals, 0, 20));
}

int truncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace quovella
