#include "quotes/watch_grid_format.h"

#include <gtest/gtest.h>

#include <string>

#include "common/gbk.h"
#include "quotes/quote_reply.h"

namespace quovella {
namespace {

std::string wan(const char* number) {
    return number + gbk("万");
}
std::string yi(const char* number) {
    return number + gbk("亿");
}

TEST(FormatLargeNumber, VolumeSwitchesToYiAtNineDigits) {
    EXPECT_EQ(formatLargeNumber("12345678", NumberMode::wholeNumber), wan("1234.568"));
    EXPECT_EQ(formatLargeNumber("123456789", NumberMode::wholeNumber), yi("1.235"));
    EXPECT_EQ(formatLargeNumber("5", NumberMode::wholeNumber), wan("0.001"));
    EXPECT_EQ(formatLargeNumber("", NumberMode::wholeNumber), wan("0"));
}

TEST(FormatLargeNumber, AmountCountsDigitsBeforeThePoint) {
    EXPECT_EQ(formatLargeNumber("123456789", NumberMode::decimal), wan("12345.679"));
    EXPECT_EQ(formatLargeNumber("123456789.120", NumberMode::decimal), yi("1.235"));
    EXPECT_EQ(formatLargeNumber("12345678.000", NumberMode::decimal), wan("1234.568"));
}

TEST(ChangePercent, SignDecidesTextAndColour) {
    EXPECT_EQ(changePercentText(10.5, 10), "5%");
    EXPECT_EQ(changeColour(10.5, 10), kRisingColour);
    EXPECT_EQ(changePercentText(9.5, 10), "-5%");
    EXPECT_EQ(changeColour(9.5, 10), kFallingColour);
    EXPECT_EQ(changePercentText(10, 10), "0%");
    EXPECT_EQ(changeColour(10, 10), kRisingColour);
    EXPECT_DOUBLE_EQ(changePercent(27.61, 27.4), 0.766);
    // Rounds to 0 and so counts as unchanged, not down.
    EXPECT_EQ(changeColour(99.9999, 100), kRisingColour);
}

TEST(ChangePercent, UndefinedWithoutPreviousClose) {
    EXPECT_EQ(changePercentText(10, 0), "");
    EXPECT_EQ(changePercentText(0, 0), "");
    EXPECT_EQ(changeColour(10, 0), std::nullopt);
    EXPECT_EQ(changeColour(0, 0), std::nullopt);
}

std::string quoteContent() {
    std::string content = gbk("伊利股份") +
                          ",27.50,27.40,27.61,27.80,27.30,27.60,27.62,12345678,"
                          "340000000.500";
    for (int k = 11; k <= 30; ++k) content += ",f" + std::to_string(k);
    return content + ",2024-05-06,15:00:03,00";
}

TEST(WatchRowTexts, FullFillFromTheTable) {
    QuoteTable table(1);
    fillQuoteTableFromReply("q=\"" + quoteContent() + "\";\n", table);
    const WatchRowFill fill = fullFillRow(table, 1);
    const std::vector<GridCellText> expected{{2, gbk("伊利股份")}, {3, "27.50"},   {4, "27.40"},
                                             {5, "27.61"},         {6, "27.80"},   {7, "27.30"},
                                             {8, wan("1234.568")}, {9, yi("3.4")}, {10, "0.766%"},
                                             {11, "15:00:03"}};
    EXPECT_EQ(fill.cells, expected);
    EXPECT_EQ(fill.colour, kRisingColour);
}

TEST(WatchRowTexts, FullFillOfARowWithoutQuote) {
    const WatchRowFill fill = fullFillRow(QuoteTable(1), 1);
    ASSERT_EQ(fill.cells.size(), 10u);
    EXPECT_EQ(fill.cells[8], (GridCellText{10, ""}));
    EXPECT_EQ(fill.cells[6], (GridCellText{8, wan("0")}));
    EXPECT_EQ(fill.colour, std::nullopt);
}

TEST(WatchRowTexts, RefreshShowsDateAndTimeAndStopsOnEmptyName) {
    const auto cells = refreshRow(quoteContent());
    ASSERT_TRUE(cells.has_value());
    ASSERT_EQ(cells->size(), 9u);
    EXPECT_EQ(cells->front(), (GridCellText{3, "27.50"}));
    EXPECT_EQ(cells->back(), (GridCellText{11, "2024-05-06 15:00:03"}));
    EXPECT_EQ(refreshRow(""), std::nullopt);
    EXPECT_EQ(refreshRow(",1,2"), std::nullopt);
    // Missing fields give empty texts.
    const auto shortRow = refreshRow("name,1.00");
    ASSERT_TRUE(shortRow.has_value());
    EXPECT_EQ((*shortRow)[1], (GridCellText{4, ""}));
    EXPECT_EQ(shortRow->back(), (GridCellText{11, " "}));
}

}  // namespace
}  // namespace quovella
