// Closing the window while work is on its way: each case gets some work in flight against
// a quote server that holds every request (its time-outs are far off), then closes. The
// close must end at once, and both files must be left whole with everything they held.
#include <gtest/gtest.h>

#include <QPushButton>
#include <functional>

#include "app/watch_window_fixture.h"
#include "records/store_schema.h"
#include "support/sqlite_query.h"

namespace quovella {
namespace {

using testing::queryText;

using namespace std::chrono_literals;

const std::string kList = "sh600887\r\nsz000001\r\n";
constexpr int kSnapshots = 200000;

class ClosingMidWork : public testing::WatchWindowFixture,
                       public ::testing::WithParamInterface<
                           std::pair<const char*, std::function<void(ClosingMidWork&)>>> {
  public:
    void startAndSettle() {
        start(kList, server_.baseUrl(), false, FetchOptions{3s, 30s});
        // No revaluation of its own: the case starts the work it closes on. The refresh
        // timer starts with the load's fill, so it is stopped after.
        window().holdingsPage().时钟_更新持有->setInterval(0);
        settle();
        stopRefreshTimer();
        server_.hold();
    }
    void startHeld() {
        server_.hold();
        start(kList, server_.baseUrl(), false, FetchOptions{3s, 30s});
    }
    void waitForHeld() { ASSERT_TRUE(server_.waitForHeldRequest()); }
    void refreshTick() { tickWithoutWaiting(); }
    bool recordsIdle() { return window().recordsPage().idle(); }
    void addCode() {
        dialogs_.answerText("000001");
        window().watchPage().按钮_添加->click();
    }
    void revaluationTick() { emit window().holdingsPage().时钟_更新持有->tick(); }

  protected:
    void SetUp() override {
        WatchWindowFixture::SetUp();
        for (const char* code : {"sh600887", "sz000001"})
            server_.setContent(code, testing::priceContent("10.50"));
        const std::string path = storePathIn(runDirectory());
        ASSERT_EQ(makeEmptyStore(path), MakeStoreResult::created);
        // Enough snapshots that reading them all takes a while.
        ASSERT_EQ(queryText(path,
                            "insert into sj(股票代码, 股票名称, 涨跌) "
                            "select 'sh600887', 'x', '1.00%' from (with recursive "
                            "n(i) as (select 1 union all select i + 1 from n where i < " +
                                std::to_string(kSnapshots) + ") select i from n)"),
                  "");
        ASSERT_EQ(queryText(path,
                            "insert into cy(股票代码, 购买股数, 购买价) "
                            "values('sh600887', '100', '9.87')"),
                  "");
    }
    void TearDown() override {
        server_.release();
        WatchWindowFixture::TearDown();
    }
};

TEST_P(ClosingMidWork, TheCloseEndsAtOnceAndLeavesBothFilesWhole) {
    GetParam().second(*this);
    ASSERT_FALSE(window().backgroundIdle() && !window().holdingsPage().revaluationBusy());

    const auto began = std::chrono::steady_clock::now();
    window().close();
    window_.reset();
    state_.release();
    EXPECT_LT(std::chrono::steady_clock::now() - began, 2s);

    server_.release();
    EXPECT_EQ(fileText(), kList);
    const std::string path = storePathIn(runDirectory());
    EXPECT_EQ(queryText(path, "pragma integrity_check"), "ok");
    EXPECT_EQ(queryText(path, "select count(*) from sj"), std::to_string(kSnapshots));
    EXPECT_EQ(queryText(path, "select count(*) from cy"), "1");
    EXPECT_EQ(queryText(path, "select 现价 from cy"), "<null>");
}

INSTANTIATE_TEST_SUITE_P(EveryWork, ClosingMidWork,
                         ::testing::Values(std::make_pair("midLoadAndRecordsFill",
                                                          [](ClosingMidWork& w) {
                                                              w.startHeld();
                                                              ASSERT_FALSE(w.recordsIdle());
                                                              w.waitForHeld();
                                                          }),
                                           std::make_pair("midRefresh",
                                                          [](ClosingMidWork& w) {
                                                              w.startAndSettle();
                                                              w.refreshTick();
                                                              w.waitForHeld();
                                                          }),
                                           std::make_pair("midAddCheck",
                                                          [](ClosingMidWork& w) {
                                                              w.startAndSettle();
                                                              w.addCode();
                                                              w.waitForHeld();
                                                          }),
                                           std::make_pair("midRevaluation",
                                                          [](ClosingMidWork& w) {
                                                              w.startAndSettle();
                                                              w.revaluationTick();
                                                              w.waitForHeld();
                                                          })),
                         [](const auto& c) { return std::string(c.param.first); });

}  // namespace
}  // namespace quovella
