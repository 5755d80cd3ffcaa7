#include "feed/quote_book.h"

#include <gtest/gtest.h>

#include <set>

#include "common/gbk.h"
#include "common/numbers.h"
#include "common/text_rules.h"
#include "feed/stock_list.h"

namespace quovella {
namespace {

std::shared_ptr<const Clock> fixedClock() {
    return std::make_shared<FixedClock>(LocalDateTime{2024, 5, 6, 9, 31, 5});
}

std::vector<std::string> fieldsOf(const std::string& reply) {
    return splitText(textBetween(reply, "\"", "\""), ",");
}

TEST(QuoteBook, SameSeedSameReplies) {
    QuoteBook a(42, fixedClock());
    QuoteBook b(42, fixedClock());
    QuoteBook c(43, fixedClock());
    std::string fromA, fromB, fromC;
    for (int i = 0; i < 20; ++i) {
        fromA += a.replyFor("sh600887,sz000001");
        fromB += b.replyFor("sh600887,sz000001");
        fromC += c.replyFor("sh600887,sz000001");
    }
    EXPECT_EQ(fromA, fromB);
    EXPECT_NE(fromA, fromC);
}

TEST(QuoteBook, EntriesInRequestOrderUnknownEmptyAndEmptyList) {
    QuoteBook book(1, fixedClock());
    const std::string reply = book.replyFor("sz000001,nosuch,sh600887");
    const std::vector<std::string> entries = splitText(reply, ";");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].rfind("quote_sz000001=\"" + gbk("平安银行") + ",", 0), 0u);
    EXPECT_EQ(entries[1], "\nquote_nosuch=\"\"");
    EXPECT_EQ(entries[2].rfind("\nquote_sh600887=\"" + gbk("伊利股份") + ",", 0), 0u);
    EXPECT_EQ(entries[3], "\n");
    EXPECT_EQ(book.replyFor(""), "");
}

TEST(QuoteBook, ThirtyThreeConsistentFieldsWhileTheWalkGoesOn) {
    QuoteBook book(5, fixedClock());
    std::int64_t lastVolume = 0;
    double lastAmount = 0;
    std::set<std::string> prices;
    for (int tick = 0; tick < 300; ++tick) {
        const std::vector<std::string> f = fieldsOf(book.replyFor("sh600519"));
        ASSERT_EQ(f.size(), 33u);
        EXPECT_EQ(f[0], gbk("贵州茅台"));
        const double open = leadingDouble(f[1]), close = leadingDouble(f[2]);
        const double now = leadingDouble(f[3]), high = leadingDouble(f[4]);
        const double low = leadingDouble(f[5]);
        EXPECT_GE(high, std::max(open, now));
        EXPECT_LE(low, std::min(open, now));
        EXPECT_LE(high, close * 1.1 + 0.005);
        EXPECT_GE(low, close * 0.9 - 0.005);
        for (const int k : {1, 2, 3, 4, 5, 6, 7, 11, 21}) {
            EXPECT_EQ(
                f[static_cast<std::size_t>(k)].size() - f[static_cast<std::size_t>(k)].find('.'),
                3u);
        }
        EXPECT_EQ(f[9].size() - f[9].find('.'), 4u);  // amount with 3 decimals
        EXPECT_EQ(f[8].find('.'), std::string::npos);
        EXPECT_GT(leadingWhole(f[8]), lastVolume);
        EXPECT_GT(leadingDouble(f[9]), lastAmount);
        lastVolume = leadingWhole(f[8]);
        lastAmount = leadingDouble(f[9]);
        prices.insert(f[3]);
        EXPECT_EQ(f[30], "2024-05-06");
        EXPECT_EQ(f[31], "09:31:05");
        EXPECT_EQ(f[32], "00");
    }
    EXPECT_GT(prices.size(), 10u);  // it does move
}

TEST(QuoteBook, KnowsManyRealCodesWithNames) {
    QuoteBook book(1, fixedClock());
    EXPECT_GE(knownStocks().size(), 40u);
    std::set<std::string_view> codes;
    for (const KnownStock& stock : knownStocks()) {
        codes.insert(stock.code);
        const std::string code(stock.code);
        EXPECT_EQ(fieldsOf(book.replyFor(code)).front(), gbk(stock.nameUtf8)) << code;
        EXPECT_TRUE(code.starts_with("sh6") || code.starts_with("sz0") || code.starts_with("sz3"))
            << code;
    }
    EXPECT_EQ(codes.size(), knownStocks().size());
}

}  // namespace
}  // namespace quovella
