// leadingDouble and leadingWhole against strtod and strtoll where their rules agree: texts of
// blanks (space and tab; strtod's other white space is no blank here), signs, points,
// exponent letters and digits, which hold none of the hex, inf and nan forms strtod alone
// reads. A value too small for a double is zero here and a subnormal or zero there, so those
// compare as both zero or equal. The same text in GBK full-width forms reads the same, and
// any bytes at all read without fault. The value read is written as printf writes it in the
// C locale, where a fuzz target runs: "%.13g", "%.6g" of it as a float, and "%.8f".
//
// Input: any bytes; those outside the alphabet become one of its characters, and each one
// from 0x80 on is also written full-width in the wide copy.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/numbers.h"
#include "fuzz_support.h"

namespace quovella::fuzz {
namespace {

constexpr std::string_view alphabet = " \t+-.eE0123456789";

bool sameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The GBK full-width form of an alphabet character: A3 and the character + 0x80, the
// ideographic space A1A1 for a space; a tab has none.
std::string wide(char c) {
    if (c == ' ') return "\xA1\xA1";
    if (c == '\t') return "\t";
    return {'\xA3', static_cast<char>(c + 0x80)};
}

void compareWithC(const std::string& ascii) {
    errno = 0;
    const double c = std::strtod(ascii.c_str(), nullptr);
    const bool underflow = errno == ERANGE && std::fabs(c) < DBL_MIN;
    const double ours = leadingDouble(ascii);
    if (underflow) {
        FUZZ_CHECK(sameDouble(ours, c) || (ours == 0.0 && std::signbit(ours) == std::signbit(c)));
    } else {
        FUZZ_CHECK(sameDouble(ours, c));
    }
    FUZZ_CHECK(leadingWhole(ascii) == std::strtoll(ascii.c_str(), nullptr, 10));

    char printed[400];
    std::snprintf(printed, sizeof printed, "%.13g", ours);
    FUZZ_CHECK(doubleText(ours) == printed);
    std::snprintf(printed, sizeof printed, "%.6g", static_cast<double>(static_cast<float>(ours)));
    FUZZ_CHECK(floatText(static_cast<float>(ours)) == printed);
    std::snprintf(printed, sizeof printed, "%.8f", ours);
    FUZZ_CHECK(fixedText(ours, 8) == printed);
}

}  // namespace

void testOneInput(Input input) {
    const std::string_view raw = input.rest();
    leadingDouble(raw);
    leadingWhole(raw);

    std::string ascii;
    std::string widened;
    for (const char byte : raw) {
        const char c = alphabet.find(byte) != std::string_view::npos
                           ? byte
                           : alphabet[static_cast<unsigned char>(byte) % alphabet.size()];
        ascii.push_back(c);
        widened += static_cast<unsigned char>(byte) >= 0x80 ? wide(c) : std::string(1, c);
    }
    compareWithC(ascii);
    FUZZ_CHECK(sameDouble(leadingDouble(widened), leadingDouble(ascii)));
    FUZZ_CHECK(leadingWhole(widened) == leadingWhole(ascii));
}

}  // namespace quovella::fuzz
