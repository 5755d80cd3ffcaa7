// The window while quote requests are on their way: it never waits for them, and a reply
// that a later change made stale is dropped.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QWindow>
#include <mutex>
#include <vector>

#include "app/watch_window_fixture.h"
#include "feed/feed_server.h"
#include "ui/status_bar.h"

namespace quovella {
namespace {

using namespace std::chrono_literals;

const std::string kThreeCodes = "sh600887\r\nsz000001\r\nsh600000\r\n";

class WatchAsyncTest : public testing::WatchWindowFixture {
  protected:
    void SetUp() override {
        WatchWindowFixture::SetUp();
        for (const char* code : {"sh600887", "sz000001", "sh600000"})
            server_.setContent(code, testing::priceContent("10.50"));
    }
    void TearDown() override {
        server_.release();
        WatchWindowFixture::TearDown();
    }
    // Lets posted events run while the server holds a request.
    void spin(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) QCoreApplication::processEvents();
    }
};

TEST_F(WatchAsyncTest, StartUpShowsTheCodesAtOnceAndFillsWhenTheReplyComes) {
    server_.hold();
    start(kThreeCodes, server_.baseUrl(), false);
    ASSERT_TRUE(server_.waitForHeldRequest());

    EXPECT_EQ(grid().rowCount(), 4);
    EXPECT_EQ(cell(2, 0), "2");
    EXPECT_EQ(cell(2, 1), "sz000001");
    EXPECT_EQ(cell(2, 2), "");
    // A tick while the load waits for its quotes asks nothing.
    tickWithoutWaiting();
    spin(50ms);
    EXPECT_EQ(server_.requestCount(), 1);
    EXPECT_FALSE(window().appState().refreshBusy);

    server_.release();
    settle();
    EXPECT_EQ(cell(2, 5), "10.50");
}

// Each row's request waits 100 ms after the row before it was written, however fast the
// server answers: a lower bound, so a busy machine only lengthens the gaps. The requests are
// timed as they arrive, on the server's thread: the GUI thread could notice one only after
// its reply was handled and the pause had begun.
TEST_F(WatchAsyncTest, TheRefreshPausesAfterEveryRow) {
    std::mutex mutex;
    std::vector<std::chrono::steady_clock::time_point> asked;
    FeedOptions options = testing::fixedQuotes();
    options.onRequest = [&](const SeenRequest&) {
        const std::lock_guard lock(mutex);
        asked.push_back(std::chrono::steady_clock::now());
    };
    FeedServer timed(options);
    for (const char* code : {"sh600887", "sz000001", "sh600000"})
        timed.setContent(code, testing::priceContent("10.50"));
    ASSERT_TRUE(timed.start());
    start(kThreeCodes, timed.baseUrl());
    stopRefreshTimer();
    tick();

    const std::lock_guard lock(mutex);
    // The load's request, then one per row.
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_GE(asked[2] - asked[1], 100ms);
    EXPECT_GE(asked[3] - asked[2], 100ms);
}

TEST_F(WatchAsyncTest, AReplyForARowWhoseCodeChangedIsDropped) {
    start(kThreeCodes, server_.baseUrl());
    stopRefreshTimer();
    server_.setContent("sh600887", testing::priceContent("11.00"));
    server_.hold();
    tickWithoutWaiting();
    ASSERT_TRUE(server_.waitForHeldRequest());

    // Row 1 goes while its quote is on the way; row 1 is sz000001's now.
    grid().setCurrentCell(1, 1);
    window().watchPage().按钮_删除->click();
    server_.release();
    settle();

    EXPECT_EQ(cell(1, 1), "sz000001");
    EXPECT_EQ(cell(1, 5), "10.50");
    EXPECT_EQ(cell(1, 11), "09:30:00");
    EXPECT_EQ(cell(2, 11), "2020-08-28 09:30:00");
    EXPECT_EQ(server_.requestedLists().back(), "sh600000");
}

TEST_F(WatchAsyncTest, AnAddWaitsForItsCheckWithTheWindowLiveAndASecondAddWaitsItsTurn) {
    start("sh600887\r\n", server_.baseUrl());
    server_.hold();
    dialogs_.answerText("000001");
    dialogs_.answerText("600000");
    window().watchPage().按钮_添加->click();
    ASSERT_TRUE(server_.waitForHeldRequest());

    EXPECT_FALSE(onTop());
    EXPECT_EQ(timerInterval(), 0);
    window().watchPage().按钮_添加->click();
    spin(50ms);
    EXPECT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_EQ(fileText(), "sh600887\r\n");

    server_.release();
    settle();
    EXPECT_EQ(dialogs_.shown().size(), 2u);
    EXPECT_EQ(fileText(), "sh600887\r\nsz000001\r\nsh600000\r\n");
    EXPECT_EQ(cell(3, 1), "sh600000");
    EXPECT_TRUE(onTop());
}

TEST_F(WatchAsyncTest, AlwaysOnTopKeepsTheNativeWindow) {
    start("sh600887\r\n", server_.baseUrl());
    const WId before = window().winId();
    dialogs_.answerText("000001");
    window().watchPage().按钮_添加->click();
    settle();
    ASSERT_TRUE(onTop());
    EXPECT_EQ(window().winId(), before);
    EXPECT_TRUE(window().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(WatchAsyncTest, ADeleteWhileTheLoadWaitsIsNotUndoneByItsReply) {
    server_.hold();
    start(kThreeCodes, server_.baseUrl(), false);
    ASSERT_TRUE(server_.waitForHeldRequest());
    grid().setCurrentCell(2, 1);
    window().watchPage().按钮_删除->click();
    server_.release();
    settle();

    EXPECT_EQ(fileText(), "sh600887\r\nsh600000\r\n");
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(cell(2, 1), "sh600000");
    EXPECT_EQ(cell(2, 5), "10.50");
}

// Pane 5 says once that the quotes stopped, with the time of the last ones, and once that
// they came again.
TEST_F(WatchAsyncTest, ThePaneSaysWhenTheQuotesStopAndWhenTheyComeAgain) {
    clock_.set({2020, 8, 28, 15, 4, 5});
    start(kThreeCodes, server_.baseUrl(), true, FetchOptions{100ms, 300ms});
    stopRefreshTimer();
    const auto pane = [this] { return window().状态条1->paneText(5); };
    EXPECT_EQ(pane(), "");
    clock_.set({2020, 8, 28, 15, 4, 30});
    server_.setFault(FeedFault::hang);
    tick();
    EXPECT_EQ(pane(), gbk("行情中断 15:04:05"));
    window().状态条1->setPaneText(5, "picked");  // a pick on the records page, meanwhile
    tick();
    EXPECT_EQ(pane(), "picked");
    server_.setFault(FeedFault::none);
    clock_.set({2020, 8, 28, 15, 5, 10});
    tick();
    EXPECT_EQ(pane(), gbk("行情恢复 15:05:10"));
    EXPECT_EQ(cell(1, 5), "10.50");
}

TEST_F(WatchAsyncTest, OneCloseEndsAtOnceWithARequestInFlight) {
    FeedServer hanging(FeedOptions{.port = 0, .fault = FeedFault::hang});
    ASSERT_TRUE(hanging.start());
    start(kThreeCodes, hanging.baseUrl(), false, FetchOptions{3s, 30s});
    while (hanging.requestCount() == 0) spin(5ms);

    const auto began = std::chrono::steady_clock::now();
    window().close();
    window_.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - began, 1s);
    hanging.stop();
}

}  // namespace
}  // namespace quovella
