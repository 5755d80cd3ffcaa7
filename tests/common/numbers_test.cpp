#include "common/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "common/gbk.h"

namespace quovella {
namespace {

TEST(LeadingNumbers, ReadOnlyTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(leadingDouble("12.5万"), 12.5);
    EXPECT_DOUBLE_EQ(leadingDouble("-1.5e3x"), -1500.0);
    EXPECT_DOUBLE_EQ(leadingDouble("1e"), 1.0);  // an exponent without digits is not read
    EXPECT_DOUBLE_EQ(leadingDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingDouble("sh600887"), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble(""), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("-"), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("inf"), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("nan"), 0.0);
    EXPECT_DOUBLE_EQ(leadingDouble("0x1A"), 0.0);
    EXPECT_EQ(leadingWhole("-1.23%"), -1);
    EXPECT_EQ(leadingWhole("0.52%"), 0);
    EXPECT_EQ(leadingWhole("-0.80"), 0);
    EXPECT_EQ(leadingWhole("1.5e3"), 1);
    EXPECT_EQ(leadingWhole("abc"), 0);
    EXPECT_EQ(leadingWhole("99999999999999999999999"), INT64_MAX);
}

TEST(LeadingNumbers, BeyondADoubleTooSmallIsZeroTooLargeIsInfinite) {
    EXPECT_EQ(leadingDouble("1e-400"), 0.0);
    EXPECT_EQ(leadingDouble("-1e-400x"), 0.0);
    EXPECT_EQ(leadingDouble("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(leadingDouble("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingDouble("-1e400"), -std::numeric_limits<double>::infinity());
    // Many digits before the point outweigh a small negative exponent.
    EXPECT_EQ(leadingDouble("1" + std::string(400, '0') + "e-5"),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingDouble("0.001e-99999999999999999999"), 0.0);
}

TEST(LeadingNumbers, FullWidthFormsFoldToAscii) {
    // "１２．５" in full-width digits and point, led by an ideographic space.
    EXPECT_DOUBLE_EQ(leadingDouble(gbk("　１２．５")), 12.5);
    EXPECT_EQ(leadingWhole(gbk("－３")), -3);
    // Other double-byte characters stay as they are.
    EXPECT_EQ(foldFullWidth(gbk("万Ａ")), gbk("万") + "A");
}

TEST(Rounding, HalvesGoAwayFromZero) {
    EXPECT_DOUBLE_EQ(roundTo(1234.5675, 3), 1234.568);
    EXPECT_DOUBLE_EQ(roundTo(-1234.5675, 3), -1234.568);
    EXPECT_DOUBLE_EQ(roundTo(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(roundTo(-2.5, 0), -3.0);
    // Away from zero also where the nudge is lost in the value's own precision.
    EXPECT_DOUBLE_EQ(roundTo(123456.5, 0), 123457.0);
    EXPECT_DOUBLE_EQ(roundTo(-123456.5, 0), -123457.0);
    EXPECT_DOUBLE_EQ(roundTo(6.382978723, 3), 6.383);
    EXPECT_DOUBLE_EQ(roundTo(1.005, 2), 1.01);  // the 1e-12 nudge lifts 100.4999...
    EXPECT_EQ(doubleText(roundTo(-0.0004, 3)), "0");
}

// Each text as printf writes it in the C locale; the readers take the point and stop at a comma.
std::vector<std::pair<std::string, std::string>> writtenAndRead() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {
        {doubleText(1234.568), "1234.568"},
        {doubleText(5.0), "5"},
        {doubleText(-0.5), "-0.5"},
        {doubleText(0.1 + 0.2), "0.3"},
        {doubleText(-0.0), "-0"},
        {doubleText(0.00001), "1e-05"},
        {doubleText(12345678901234.0), "1.234567890123e+13"},
        {doubleText(1000000000000.5), "1000000000000"},  // an exact half goes to the even digit
        {doubleText(-inf), "-inf"},
        {doubleText(std::numeric_limits<double>::quiet_NaN()), "nan"},
        {floatText(12340.0f), "12340"},
        {floatText(1250000.0f), "1.25e+06"},
        {floatText(-8.815f), "-8.815"},
        {fixedText(2.25, 8), "2.25000000"},
        {fixedText(-1e20, 8), "-100000000000000000000.00000000"},
        {doubleText(leadingDouble("6.383")), "6.383"},
        {doubleText(leadingDouble("6,383")), "6"},
    };
}

// A locale whose decimal mark is a comma, as Qt sets it from LANG on a German desktop
// (scripts/install-deps.sh test makes de_DE.UTF-8); false when none is installed.
bool useCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "es_ES.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') return true;
    }
    return false;
}

TEST(NumberText, SignificantDigitFormsInEveryLocale) {
    EXPECT_EQ(truncToInt(25.5 * 3), 76);
    EXPECT_EQ(truncToInt(-1.9), -1);
    for (const auto& [got, want] : writtenAndRead()) EXPECT_EQ(got, want);
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const bool comma = useCommaLocale();
    if (comma) {
        for (const auto& [got, want] : writtenAndRead()) EXPECT_EQ(got, want) << "with a comma";
    }
    std::setlocale(LC_ALL, before.c_str());
    if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
}

}  // namespace
}  // namespace quovella
