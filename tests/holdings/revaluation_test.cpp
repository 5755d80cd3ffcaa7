#include "holdings/revaluation.h"

#include <gtest/gtest.h>

#include "common/gbk.h"

namespace quovella {
namespace {

void expectTexts(const std::optional<RevaluationTexts>& got, const char* amount, const char* rate) {
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->amount, amount);
    EXPECT_EQ(got->rate, rate);
}

TEST(Revalue, WorkedExampleGainAndLoss) {
    expectTexts(revalue("10.50", "100", "9.87"), "63", "6.383");
    expectTexts(revalue("9.00", "100", "9.87"), "-87", "-8.815");
    expectTexts(revalue("9.87", "100", "9.87"), "0", "0");
}

TEST(Revalue, AmountAndRateRoundedToThreeDecimals) {
    // 300 x (12.3456 - 10) in float arithmetic: 703.68, 23.456 per cent.
    expectTexts(revalue("12.3456", "300", "10"), "703.68", "23.456");
    // Value and cost are narrowed to float before the difference: 3.27633e+06 otherwise.
    expectTexts(revalue("2193.30", "6500", "1689.25"), "3.27632e+06", "29.839");
    expectTexts(revalue("258.60", "500", "257.54"), "529.992", "0.412");  // 529.996 unnarrowed
    // 1 x (10.0005 - 10) rounds the float difference to 3 decimals.
    expectTexts(revalue("10.0005", "1", "10"), "0", "0");
}

TEST(Revalue, ZeroCostLeavesTheRateEmpty) {
    expectTexts(revalue("10.50", "0", "9.87"), "0", "");
    expectTexts(revalue("10.50", "abc", "9.87"), "0", "");
    expectTexts(revalue("10.50", "100", "0"), "1050", "");
}

TEST(Revalue, PriceWithoutLeadingNumberIsSkipped) {
    EXPECT_FALSE(revalue("", "100", "9.87").has_value());
    EXPECT_FALSE(revalue("FAILED", "100", "9.87").has_value());
    EXPECT_FALSE(revalue("<html>", "100", "9.87").has_value());
    EXPECT_FALSE(revalue(".", "100", "9.87").has_value());
    // A real price of 0 is a price.
    expectTexts(revalue("0", "100", "9.87"), "-987", "-100");
    expectTexts(revalue(" .5x", "2", "1"), "-1", "-50");
}

TEST(Revalue, NeverWritesInfinityOrNan) {
    const auto huge = revalue("1e39", "100", "9.87");
    ASSERT_TRUE(huge.has_value());
    EXPECT_EQ(huge->amount, "");
    EXPECT_EQ(huge->rate, "");
}

}  // namespace
}  // namespace quovella
