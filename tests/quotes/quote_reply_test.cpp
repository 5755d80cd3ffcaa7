#include "quotes/quote_reply.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "common/gbk.h"
#include "common/text_rules.h"
#include "quotes/watch_code_rules.h"
#include "quotes/watch_grid_format.h"

namespace quovella {
namespace {

TEST(FillQuoteTableFromReply, QuotedFieldsAndAnEmptyQuote) {
    QuoteTable table(2);
    EXPECT_EQ(fillQuoteTableFromReply("q1=\"x,1,2\";q2=\"\";\n", table), 2);
    EXPECT_EQ(table.quoteCount(), 2);
    EXPECT_EQ(table.cell(1, 1), "x,1,2");
    EXPECT_EQ(table.cell(1, 2), "x");
    EXPECT_EQ(table.cell(1, 3), "1");
    EXPECT_EQ(table.cell(1, 4), "2");
    EXPECT_EQ(table.cell(1, 5), "");
    EXPECT_EQ(table.cell(2, 1), "");
    EXPECT_EQ(table.cell(2, 2), "");
    fillQuoteTableFromReply("q1=\"\";;", table);
    EXPECT_EQ(table.cell(1, 1), "");  // an empty content replaces the old one
    EXPECT_EQ(table.cell(1, 2), "x");
}

TEST(FillQuoteTableFromReply, FewerThanTwoEntriesFillNothingAndKeepCells) {
    QuoteTable table(1);
    table.setCell(1, 1, "old");
    EXPECT_EQ(fillQuoteTableFromReply("q=\"a,b\"", table), 0);
    EXPECT_EQ(fillQuoteTableFromReply("", table), 0);
    EXPECT_EQ(table.quoteCount(), 0);
    EXPECT_EQ(table.cell(1, 1), "old");
}

TEST(FillQuoteTableFromReply, CellsTheReplyDoesNotReachKeepTheirText) {
    QuoteTable table(1);
    table.setCell(1, 5, "kept");
    fillQuoteTableFromReply("q=\"a,,b,\";\n", table);
    EXPECT_EQ(table.cell(1, 2), "a");
    EXPECT_EQ(table.cell(1, 3), "");
    EXPECT_EQ(table.cell(1, 4), "b");
    EXPECT_EQ(table.cell(1, 5), "kept");  // no fourth, empty field after the final comma
}

TEST(FillQuoteTableFromReply, ExcessEntriesAndFieldsAreDropped) {
    std::string fields;
    for (int k = 1; k <= 40; ++k) fields += (k > 1 ? "," : "") + std::to_string(k);
    QuoteTable table(1);
    const int n = fillQuoteTableFromReply("a=\"" + fields + "\";b=\"y\";c=\"z\";\n", table);
    EXPECT_EQ(n, 3);  // the count of the reply, not of the table
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.cell(1, 37), "36");
    EXPECT_EQ(table.cell(2, 1), "");
    EXPECT_EQ(table.cell(1, 38), "");
}

TEST(FillQuoteTableFromReply, DoubleByteCharactersNeverSplit) {
    // Trail bytes that equal "|", "A" and "a" must not be matched as those characters, and a
    // lead byte just before a delimiter takes it along as its trail.
    const std::string name = "\x81\x7C\x81\x41\x81\x61" + gbk("伊利股份");
    QuoteTable table(1);
    fillQuoteTableFromReply("q=\"" + name + ",1.00\";\n", table);
    EXPECT_EQ(table.cell(1, 2), name);
    EXPECT_EQ(table.cell(1, 3), "1.00");
    EXPECT_EQ(splitText(name + "|x", "|").front(), name);
    EXPECT_EQ(splitText(name + "ax", "A").front(), name);
}

// The body's answer in a child whose address space may grow by at most `headroom` bytes:
// work that allocates per element of a hostile reply dies there of bad_alloc.
bool runsWithin(std::size_t headroom, const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) + headroom;
        const rlimit bound{limit, limit};
        ::_exit(::setrlimit(RLIMIT_AS, &bound) == 0 && body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(QuoteReplyMemory, HostileRepliesCostNoMemoryPerElement) {
    constexpr int size = 8 << 20;
    const std::string semicolons(size, ';');
    const std::string commas(size, ',');
    const std::string oneLongQuote = "q=\"name" + commas + "\";\n";
    EXPECT_TRUE(runsWithin(std::size_t{32} << 20, [&] {
        QuoteTable huge(std::numeric_limits<int>::max());  // costs nothing until written
        QuoteTable one(1);
        return fillQuoteTableFromReply(semicolons, huge) == size - 1 &&
               fillQuoteTableFromReply(oneLongQuote, one) == 1 && one.cell(1, 2) == "name" &&
               currentPriceInReply(commas).empty() &&
               refreshRow(std::string_view(oneLongQuote).substr(3)).has_value();
    }));
}

TEST(QuoteReplyHelpers, FirstQuotedTextAndKnownContent) {
    EXPECT_EQ(firstQuotedText("q=\"FAILED\";\n"), "FAILED");
    EXPECT_EQ(firstQuotedText("no quote"), "");
    EXPECT_FALSE(isKnownQuoteContent("FAILED"));
    EXPECT_FALSE(isKnownQuoteContent(""));
    EXPECT_TRUE(isKnownQuoteContent("failed"));  // byte for byte
    EXPECT_TRUE(isKnownQuoteContent(gbk("伊利股份,1")));
}

TEST(QuoteReplyHelpers, CurrentPriceIsTheFourthCommaElement) {
    EXPECT_EQ(currentPriceInReply("q=\"n,27.50,27.40,27.61,28\";"), "27.61");
    EXPECT_EQ(currentPriceInReply("q=\"n,1,2\";"), "");
    EXPECT_EQ(currentPriceInReply(""), "");
}

TEST(WatchCodeRules, SixBytes) {
    EXPECT_TRUE(isSixByteEntry("600887"));
    EXPECT_FALSE(isSixByteEntry("60088"));
    EXPECT_FALSE(isSixByteEntry("6008870"));
    EXPECT_TRUE(isSixByteEntry(gbk("伊利股")));  // bytes, not characters
}

TEST(WatchCodeRules, ExchangePrefixByFirstByteOnly) {
    // A code already prefixed, another market, nothing typed and a Chinese text stay as
    // they are.
    const std::pair<std::string, std::string> prefixed[] = {
        {"600887", "sh600887"},    {"000001", "sz000001"}, {"300750", "sz300750"},
        {"sh600887", "sh600887"},  {"900901", "900901"},   {"", ""},
        {gbk("伊利"), gbk("伊利")}};
    for (const auto& [entry, code] : prefixed) EXPECT_EQ(withExchangePrefix(entry), code) << entry;
}

}  // namespace
}  // namespace quovella
