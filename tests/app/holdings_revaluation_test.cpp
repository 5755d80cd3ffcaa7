// The revaluation pass: prices fetched on a worker, results in the grid and in cy, one pass
// at a time, and a window that can close while a pass waits for the server.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "app/holdings_window_fixture.h"

namespace quovella {
namespace {

using testing::kRed;
using testing::SeedHolding;

const std::string kNow = "2020-08-28  00:00:00";

class HoldingsRevaluationTest : public testing::HoldingsWindowFixture {
  protected:
    std::vector<SeedHolding> seedHoldings() const override {
        return {{"sh600887"}, {"sz000001"}, {"sh600000"}};
    }
    // Cells 7 to 10 of a grid row, or columns 7 to 10 of a stored row.
    static std::vector<std::string> revalued(const std::vector<std::string>& row) {
        return {row.begin() + 7, row.end()};
    }
};

TEST_F(HoldingsRevaluationTest, TickRevaluesEveryHoldingInGridAndStore) {
    server_.setContent("sh600887", testing::priceContent("10.50"));
    server_.setContent("sz000001", testing::priceContent("9.00"));
    server_.setContent("sh600000", testing::priceContent("9.87"));
    tick();
    ASSERT_TRUE(waitForPass());

    const std::vector<std::vector<std::string>> expected = {
        {"10.50", "63", "6.383", kNow}, {"9.00", "-87", "-8.815", kNow}, {"9.87", "0", "0", kNow}};
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(revalued(gridRow(static_cast<int>(i) + 1)), expected[i]) << i;
        EXPECT_EQ(revalued(rows[i]), expected[i]) << i;
    }
    // Colours stay as the last reload set them, even for the loss.
    EXPECT_EQ(grid().cellTextColour(2, 8), kRed);
    EXPECT_EQ(server_.requestedLists(),
              (std::vector<std::string>{"sh600887", "sz000001", "sh600000"}));
}

TEST_F(HoldingsRevaluationTest, TickWhilePassRunsStartsNone) {
    server_.hold();
    tick();
    ASSERT_TRUE(server_.waitForHeldRequest());
    tick();
    tick();
    server_.release();
    ASSERT_TRUE(waitForPass());
    EXPECT_EQ(server_.requestedLists().size(), 3u);
    // Once it has ended, the next tick runs a new pass.
    tick();
    ASSERT_TRUE(waitForPass());
    EXPECT_EQ(server_.requestedLists().size(), 6u);
}

TEST_F(HoldingsRevaluationTest, HoldingWithoutPriceIsLeftAsItWas) {
    // sz000001 is unknown to the server: its reply holds no price.
    server_.setContent("sh600887", testing::priceContent("10.50"));
    server_.setContent("sh600000", testing::priceContent("abc"));
    tick();
    ASSERT_TRUE(waitForPass());
    const auto rows = stored();
    EXPECT_EQ(revalued(rows[0])[1], "63");
    for (std::size_t i : {1U, 2U}) {
        EXPECT_EQ(revalued(rows[i]), (std::vector<std::string>{"", "", "", ""})) << i;
        EXPECT_EQ(revalued(gridRow(static_cast<int>(i) + 1)),
                  (std::vector<std::string>{"", "", "", ""}))
            << i;
    }
    EXPECT_EQ(server_.requestedLists().size(), 3u);
}

TEST_F(HoldingsRevaluationTest, ResultForARowThatChangedMeanwhileOnlyReachesTheStore) {
    server_.setContent("sh600887", testing::priceContent("10.50"));
    server_.hold();
    tick();
    ASSERT_TRUE(server_.waitForHeldRequest());
    grid().setCellText(1, 0, "99");
    server_.release();
    ASSERT_TRUE(waitForPass());
    EXPECT_EQ(cell(1, 8), "");
    EXPECT_EQ(revalued(stored()[0])[1], "63");
}

TEST_F(HoldingsRevaluationTest, HangingServerKeepsTheGuiFreeAndCloseEndsThePass) {
    server_.setContent("sh600887", testing::priceContent("10.50"));
    server_.hold();
    tick();
    ASSERT_TRUE(server_.waitForHeldRequest());
    // The pass waits for the server on its own worker, not the store's: an add goes through
    // now.
    window().holdingsPage().编辑框_股票代码->setText("600036");
    window().holdingsPage().按钮_添加持有->click();
    settle();
    EXPECT_EQ(stored().size(), 4u);
    EXPECT_TRUE(busy());
    // Closing and destroying the window cancels the request in flight and waits for the
    // pass, which ends without touching the window.
    window().close();
    window_.reset();
    server_.release();
    EXPECT_EQ(server_.requestedLists().size(), 1u);
    EXPECT_EQ(readAllHoldings(state_.store->store())[0][8], "");
}

TEST_F(HoldingsRevaluationTest, StoppingCancelsAFetchInFlightInsteadOfWaitingOutItsTimeOut) {
    using namespace std::chrono_literals;
    server_.hold();
    Worker worker;
    const std::vector<HoldingToRevalue> rows{{1, "1", "sh600887", "100", "9.87"}};
    const QuoteSource quotes(server_.baseUrl(), FetchOptions{3s, 30s, worker.cancelFlag()});
    const SystemClock clock;
    std::atomic<int> delivered = 0;
    ASSERT_TRUE(worker.post([&](const CancelFlag& cancel) {
        revaluationPass(rows, quotes, clock, cancel, [&](RevaluedHolding) { ++delivered; });
    }));
    ASSERT_TRUE(server_.waitForHeldRequest());
    const auto begin = std::chrono::steady_clock::now();
    worker.shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 5s);  // the fetch allows 30 s
    EXPECT_EQ(delivered.load(), 0);
    server_.release();
}

class HoldingsEmptyCodeTest : public HoldingsRevaluationTest {
  protected:
    std::vector<SeedHolding> seedHoldings() const override {
        return {{"sh600887"}, {""}, {"sh600000"}};
    }
};

TEST_F(HoldingsEmptyCodeTest, EmptyCodeEndsThePass) {
    server_.setContent("sh600887", testing::priceContent("10.50"));
    server_.setContent("sh600000", testing::priceContent("10.50"));
    tick();
    ASSERT_TRUE(waitForPass());
    EXPECT_EQ(server_.requestedLists(), std::vector<std::string>{"sh600887"});
    EXPECT_EQ(revalued(stored()[2])[1], "");
    EXPECT_EQ(cell(3, 8), "");
}

class HoldingsNoneTest : public HoldingsRevaluationTest {
  protected:
    std::vector<SeedHolding> seedHoldings() const override { return {}; }
};

TEST_F(HoldingsNoneTest, NoHoldingsNoRequest) {
    tick();
    EXPECT_FALSE(busy());
    EXPECT_TRUE(server_.requestedLists().empty());
}

}  // namespace
}  // namespace quovella
