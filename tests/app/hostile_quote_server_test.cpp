// Every way the quote server was tried misbehaving, at load time and during a periodic
// refresh: the window comes at once and stays usable, each request gives up within the
// time-outs, rows keep what they showed, and a row no reply filled stays empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "app/watch_window_fixture.h"
#include "feed/feed_server.h"

namespace quovella {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::string kThreeCodes = "sh600887\r\nsz000001\r\nsh600519\r\n";

// One request's time-out plus a generous allowance for a loaded machine.
constexpr milliseconds kRequestBound{1500 + 3000};

struct FaultCase {
    const char* name;
    FeedFault fault;
    milliseconds delay{0};
    bool refused = false;  // nothing listens on the port any more
};

class HostileQuoteServer : public testing::WatchWindowFixture,
                           public ::testing::WithParamInterface<FaultCase> {
  protected:
    void SetUp() override {
        WatchWindowFixture::SetUp();
        ASSERT_TRUE(feed_.start());
    }
    void TearDown() override {
        WatchWindowFixture::TearDown();
        feed_.stop();
    }
    void misbehave() {
        if (GetParam().refused) feed_.stop();
        feed_.setFault(GetParam().fault);
        feed_.setDelay(GetParam().delay);
    }
    // A 500 carries a quote reply, and the status is not looked at: it reads as quotes.
    bool answersWithQuotes() const { return GetParam().fault == FeedFault::serverError; }
    bool answersFailed() const { return GetParam().fault == FeedFault::failed; }
    // The code of row r in kThreeCodes.
    static std::string codeOfRow(int r) {
        return std::vector<std::string>{"sh600887", "sz000001",
                                        "sh600519"}[static_cast<std::size_t>(r - 1)];
    }

    FeedServer feed_{FeedOptions{.port = 0}};
};

TEST_P(HostileQuoteServer, RefreshGivesUpWithinTheTimeOutAndRowsKeepTheirValues) {
    start(kThreeCodes, feed_.baseUrl());
    stopRefreshTimer();
    ASSERT_EQ(cell(1, 2), gbk("伊利股份"));
    std::vector<std::vector<std::string>> before;
    for (int r = 1; r <= 3; ++r) before.push_back(rowTexts(r));
    misbehave();
    const int asked = feed_.requestCount();

    const auto began = Clock::now();
    tick();
    const auto took = Clock::now() - began;

    const bool everyRow = answersWithQuotes() || answersFailed();
    EXPECT_LT(took, everyRow ? 3 * kRequestBound : kRequestBound);
    EXPECT_FALSE(window().appState().refreshBusy);
    // After a "FAILED" row the rows below it still get their turn.
    EXPECT_EQ(feed_.requestCount(), asked + (everyRow ? 3 : GetParam().refused ? 0 : 1));
    if (answersWithQuotes()) {
        EXPECT_NE(cell(1, 11).find(' '), std::string::npos) << cell(1, 11);
        EXPECT_EQ(cell(1, 2), before[0][2]);
    } else {
        // Without an answer rows keep their values; rows answered "FAILED" lose their prices
        // and keep their code and name.
        for (int r = 1; r <= 3; ++r) {
            std::vector<std::string> expected = before[static_cast<std::size_t>(r - 1)];
            if (answersFailed()) std::fill(expected.begin() + 3, expected.begin() + 12, "");
            EXPECT_EQ(rowTexts(r), expected) << r;
        }
    }
}

TEST_P(HostileQuoteServer, TheWindowComesAtOnceAndTheLoadGivesUpWithinTheTimeOut) {
    misbehave();
    const auto began = Clock::now();
    start(kThreeCodes, feed_.baseUrl(), false);
    const auto shown = Clock::now() - began;
    // The codes show while their quotes are on the way.
    EXPECT_EQ(cell(3, 1), "sh600519");
    settle();
    const auto took = Clock::now() - began;
    stopRefreshTimer();

    EXPECT_LT(shown, milliseconds(1000));
    EXPECT_LT(took, kRequestBound);
    EXPECT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(cell(3, 0), "3");
    if (answersWithQuotes()) {
        EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
        return;
    }
    // A cut body keeps its first entry, which arrived whole. "FAILED" entries still count
    // as quotes, so the codes show with the server's word in the name column.
    const bool cut = GetParam().fault == FeedFault::cutBody;
    const int firstEmptyRow = cut ? 2 : 1;
    if (cut) {
        EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
    }
    for (int r = firstEmptyRow; r <= 3; ++r) {
        EXPECT_EQ(cell(r, 1), answersFailed() ? codeOfRow(r) : "") << r;
        EXPECT_EQ(cell(r, 2), answersFailed() ? "FAILED" : "") << r;
        for (int c = 3; c <= 12; ++c) EXPECT_EQ(cell(r, c), "") << r << "," << c;
    }

    // The next refresh ends at once on the empty code cell, or goes past every "FAILED".
    const int asked = feed_.requestCount();
    tick();
    EXPECT_EQ(feed_.requestCount(), asked + (answersFailed() ? 3 : cut ? 1 : 0));
    EXPECT_EQ(cell(2, 2), answersFailed() ? "FAILED" : "");
    EXPECT_FALSE(window().appState().refreshBusy);
}

INSTANTIATE_TEST_SUITE_P(EveryFault, HostileQuoteServer,
                         ::testing::Values(FaultCase{"refused", FeedFault::none, {}, true},
                                           FaultCase{"delay", FeedFault::none, milliseconds(2500)},
                                           FaultCase{"hang", FeedFault::hang},
                                           FaultCase{"trickle", FeedFault::trickle},
                                           FaultCase{"cutBody", FeedFault::cutBody},
                                           FaultCase{"serverError", FeedFault::serverError},
                                           FaultCase{"garbage", FeedFault::garbage},
                                           FaultCase{"hugeBody", FeedFault::hugeBody},
                                           FaultCase{"failed", FeedFault::failed}),
                         [](const ::testing::TestParamInfo<FaultCase>& fault) {
                             return std::string(fault.param.name);
                         });

}  // namespace
}  // namespace quovella
