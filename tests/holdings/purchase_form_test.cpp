#include "holdings/purchase_form.h"

#include <gtest/gtest.h>

#include "common/gbk.h"

namespace quovella {
namespace {

TEST(PurchaseDateText, PadsMonthAndDay) {
    EXPECT_EQ(purchaseDateText({2020, 8, 7}), "2020-08-07");
    EXPECT_EQ(purchaseDateText({2021, 12, 31}), "2021-12-31");
}

TEST(TotalPurchaseText, FloatPriceRoundedToCentsThenSixDigits) {
    EXPECT_EQ(totalPurchaseText("100", "9.87"), "987");
    EXPECT_EQ(totalPurchaseText("200", "9.87"), "1974");
    EXPECT_EQ(totalPurchaseText("1000", "12.34"), "12340");
    EXPECT_EQ(totalPurchaseText("100000", "12.5"), "1.25e+06");
    EXPECT_EQ(totalPurchaseText("3", "0.335"), "1.01");
    EXPECT_EQ(totalPurchaseText("-100", "9.87"), "-987");
    // The price is narrowed to float first: 2.68 and 1.01 otherwise.
    EXPECT_EQ(totalPurchaseText("1", "2.675"), "2.67");
    EXPECT_EQ(totalPurchaseText("1", "1.005"), "1");
}

TEST(TotalPurchaseText, SharesReadAsLeadingWholeNumber) {
    EXPECT_EQ(totalPurchaseText("", "9.87"), "0");
    EXPECT_EQ(totalPurchaseText("abc", "9.87"), "0");
    EXPECT_EQ(totalPurchaseText("1.5e3", "10"), "10");
    EXPECT_EQ(totalPurchaseText("100", ""), "0");
    EXPECT_EQ(totalPurchaseText("100", gbk("９.５")), "950");  // full-width digits fold
}

TEST(SharesCount, SaturatesAtThe32BitRange) {
    EXPECT_EQ(sharesCount("1500"), 1500);
    EXPECT_EQ(sharesCount("99999999999"), 2147483647);
    EXPECT_EQ(sharesCount("-99999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace quovella
