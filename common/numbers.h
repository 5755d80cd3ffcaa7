#pragma once
// Numbers read from and written to texts, with the program's own rounding rule.
#include <cstdint>
#include <string>
#include <string_view>

namespace quovella {

// GBK full-width ASCII forms (A3A1..A3FE) become their ASCII characters and the
// ideographic space (A1A1) a plain space; other bytes are kept.
std::string foldFullWidth(std::string_view text);

// The leading number of the text as a double: optional blanks, sign, digits, point,
// exponent. 0 when the text has no leading number. No hex, inf or nan forms.
double leadingDouble(std::string_view text);

// The leading whole number: optional blanks, sign and digits ("-1.23" gives -1).
// 0 when there are no digits; saturates at the 64-bit range.
std::int64_t leadingWhole(std::string_view text);

// Halves away from zero: scale the magnitude, add 1e-12, round up from .5, restore
// the sign. A zero result is always +0 so it never prints as "-0".
double roundTo(double value, int decimals);

// printf "%.13g" of a double, and "%.6g" of a single-precision value, always in the C form
// (a point, no grouping, "1.25e+06", "inf", "-0") whatever the locale says.
std::string doubleText(double value);
std::string floatText(float value);

// printf "%.<decimals>f" in the C form, for decimals from 0 to 20.
std::string fixedText(double value, int decimals);

// A double converted to an integer, truncated toward zero, saturating at the int range
// (NaN gives 0).
int truncToInt(double value);

}  // namespace quovella
