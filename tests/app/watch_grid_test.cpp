// The watch grid after a load (set-up and full fill) and the periodic refresh, against a
// server whose quotes the test fixes.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "app/watch_window_fixture.h"
#include "records/record_store.h"
#include "records/store_schema.h"
#include "support/sqlite_query.h"

namespace quovella {
namespace {

using testing::kGreen;
using testing::kRed;
using testing::Quote;

const std::string kThreeCodes = "sh600887\r\nsz000001\r\nsh600000\r\n";

// Up 5 %, down 5 %, unchanged; volumes and amounts on both sides of the 万/亿 line.
Quote rising() {
    Quote q;
    q.current = "10.50";
    q.volume = "12345678";
    q.amount = "123456789.50";
    return q;
}
Quote falling() {
    Quote q;
    q.nameUtf8 = "平安银行";
    q.current = "9.50";
    q.volume = "123456789";
    q.amount = "12345678.90";
    return q;
}
Quote unchanged() {
    Quote q;
    q.nameUtf8 = "浦发银行";
    q.amount = "123456789";
    return q;
}

class WatchGridTest : public testing::WatchWindowFixture {
  protected:
    void serveThreeQuotes() {
        server_.setContent("sh600887", testing::contentOf(rising()));
        server_.setContent("sz000001", testing::contentOf(falling()));
        server_.setContent("sh600000", testing::contentOf(unchanged()));
    }
    void startWithThreeCodes() {
        serveThreeQuotes();
        start(kThreeCodes, server_.baseUrl());
        stopRefreshTimer();
    }
};

TEST_F(WatchGridTest, StartUpSetsUpTheGridAndFillsEveryRowFromOneRequest) {
    serveThreeQuotes();
    start(kThreeCodes, server_.baseUrl());
    Grid& g = grid();

    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(g.columnCount(), 13);
    EXPECT_EQ(g.fixedRowCount(), 1);
    EXPECT_EQ(g.fixedColumnCount(), 1);
    EXPECT_TRUE(g.isReadOnly());
    for (int r = 0; r < 4; ++r) EXPECT_EQ(g.rowHeight(r), 30) << r;
    const char* captions[] = {"序号",   "股票代码", "股票名称", "今开盘价", "昨收盘价", "当前价格",
                              "最高价", "最低价",   "成交量",   "成交金额", "涨跌%",    "时间"};
    const int widths[] = {35, 85, 85, 80, 80, 80, 80, 80, 120, 120, 80, 130, 60};
    for (int c = 0; c < 13; ++c) {
        EXPECT_EQ(cell(0, c), c < 12 ? gbk(captions[c]) : "") << c;
        EXPECT_EQ(g.columnWidth(c), widths[c]) << c;
    }

    EXPECT_EQ(server_.requestedLists(), std::vector<std::string>{"sh600887,sz000001,sh600000"});
    const std::vector<std::string> row1 = {
        "1",    "sh600887",        gbk("伊利股份"), "10.00", "10.00",    "10.50", "10.80",
        "9.20", gbk("1234.568万"), gbk("1.235亿"),  "5%",    "09:30:00", ""};
    EXPECT_EQ(rowTexts(1), row1);
    EXPECT_EQ(cell(2, 1), "sz000001");
    EXPECT_EQ(cell(2, 2), gbk("平安银行"));
    EXPECT_EQ(cell(2, 8), gbk("1.235亿"));
    EXPECT_EQ(cell(2, 9), gbk("1234.568万"));
    EXPECT_EQ(cell(2, 10), "-5%");
    EXPECT_EQ(cell(3, 0), "3");
    // An amount without a point counts as no digits: always 万.
    EXPECT_EQ(cell(3, 9), gbk("12345.679万"));
    EXPECT_EQ(cell(3, 10), "0%");

    const ColourWord expected[] = {kRed, kGreen, kRed};
    for (int r = 1; r <= 3; ++r) {
        for (int c = 3; c <= 10; ++c) EXPECT_EQ(colour(r, c), expected[r - 1]) << r << "," << c;
        for (int c : {0, 1, 2, 11}) EXPECT_EQ(colour(r, c), 0) << r << "," << c;
    }
    EXPECT_EQ(timerInterval(), 1000);
    EXPECT_TRUE(window().appState().watchList ==
                (std::vector<std::string>{"sh600887", "sz000001", "sh600000"}));
}

// The snapshot joins a row's texts with commas: a number text never holds one, whatever
// locale Qt took from the environment (test.sh runs this again under de_DE.UTF-8).
TEST_F(WatchGridTest, ASavedRowKeepsEachNumberInItsColumn) {
    const std::string store = storePathIn(runDirectory());
    ASSERT_EQ(makeEmptyStore(store), MakeStoreResult::created);
    startWithThreeCodes();
    dialogs_.answerOk();
    grid().selectRange({1, 1, 1, grid().columnCount() - 1});
    emit grid().doubleClicked(0, 0, 0);
    settle();
    EXPECT_EQ(testing::queryText(store, "select 成交量 || ' ' || 成交金额 || ' ' || 涨跌 from sj"),
              "1234.568万 1.235亿 5%");
}

TEST_F(WatchGridTest, RefreshRewritesTheQuoteColumnsOfEveryRowButNotNamesOrColours) {
    startWithThreeCodes();
    Quote moved = rising();
    moved.nameUtf8 = "改了名字";
    moved.current = "9.00";
    moved.time = "09:31:05";
    server_.setContent("sh600887", testing::contentOf(moved));

    tick();

    EXPECT_EQ(server_.requestCount(), 4);
    EXPECT_EQ(server_.requestedLists()[1], "sh600887");
    EXPECT_EQ(server_.requestedLists()[3], "sh600000");
    EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
    EXPECT_EQ(cell(1, 5), "9.00");
    EXPECT_EQ(cell(1, 10), "-10%");
    EXPECT_EQ(cell(1, 11), "2020-08-28 09:31:05");
    EXPECT_EQ(cell(3, 11), "2020-08-28 09:30:00");
    // The colour stays as the full fill set it, though the stock is now down.
    EXPECT_EQ(colour(1, 5), kRed);
    EXPECT_EQ(cell(1, 0), "1");
    EXPECT_FALSE(window().appState().refreshBusy);
}

TEST_F(WatchGridTest, RefreshEndsAtTheFirstRowWithoutCode) {
    startWithThreeCodes();
    grid().setCellText(2, 1, "");

    tick();

    EXPECT_EQ(server_.requestedLists(),
              (std::vector<std::string>{"sh600887,sz000001,sh600000", "sh600887"}));
    EXPECT_EQ(cell(1, 11), "2020-08-28 09:30:00");
    EXPECT_EQ(cell(3, 11), "09:30:00");
    EXPECT_FALSE(window().appState().refreshBusy);
}

TEST_F(WatchGridTest, FailedAndMissingQuotesAtTheFillAndTheRefresh) {
    server_.setContent("sh600887", testing::contentOf(rising()));
    server_.setContent("sh601111", "FAILED");
    server_.setContent("sz000001", testing::contentOf(falling()));
    start("sh600887\r\nsh601111\r\nsz000001\r\nsh999999\r\n", server_.baseUrl());
    stopRefreshTimer();

    // The server's "FAILED" shows as the name, so the user can tell; a code without any
    // quote keeps only its code.
    EXPECT_EQ(cell(2, 1), "sh601111");
    EXPECT_EQ(cell(2, 2), "FAILED");
    EXPECT_EQ(cell(4, 1), "sh999999");
    for (int r : {2, 4}) {
        for (int c = 3; c <= 12; ++c) EXPECT_EQ(cell(r, c), "") << r << "," << c;
        for (int c = 3; c <= 10; ++c) EXPECT_EQ(colour(r, c), 0) << r << "," << c;
    }
    EXPECT_EQ(cell(3, 10), "-5%");

    // The refresh goes past the "FAILED" row, which keeps what it shows, and ends at the
    // row without a quote.
    const std::vector<std::string> failedRow = rowTexts(2);
    tick();
    EXPECT_EQ(server_.requestedLists(),
              (std::vector<std::string>{"sh600887,sh601111,sz000001,sh999999", "sh600887",
                                        "sh601111", "sz000001", "sh999999"}));
    EXPECT_EQ(cell(1, 11), "2020-08-28 09:30:00");
    EXPECT_EQ(rowTexts(2), failedRow);
    EXPECT_EQ(cell(3, 11), "2020-08-28 09:30:00");
    EXPECT_EQ(cell(4, 11), "");

    // A row that turns "FAILED" loses its prices, which would look live, and keeps its code
    // and name, as a fill leaves a row without a quote.
    std::vector<std::string> firstRow = rowTexts(1);
    std::fill(firstRow.begin() + 3, firstRow.begin() + 12, std::string());
    server_.setContent("sh600887", "FAILED");
    tick();
    EXPECT_EQ(server_.requestCount(), 9);
    EXPECT_EQ(rowTexts(1), firstRow);
    EXPECT_FALSE(window().appState().refreshBusy);
}

TEST_F(WatchGridTest, RefreshPausesAfterEachRowWhileTheWindowStaysLive) {
    startWithThreeCodes();
    int probeTicks = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { ++probeTicks; });
    probe.start(5);

    const auto began = std::chrono::steady_clock::now();
    tick();
    const auto took = std::chrono::steady_clock::now() - began;

    // One pause of 100 ms after each of the three rows; the event loop ran all along.
    EXPECT_GE(took, std::chrono::milliseconds(300));
    EXPECT_GT(probeTicks, 20);
    EXPECT_EQ(server_.requestCount(), 4);
}

TEST_F(WatchGridTest, TickWhileRefreshRunsDoesNothing) {
    startWithThreeCodes();
    bool busyAtNestedTick = false;
    // Handled when the refresh processes pending events at the start of its first row.
    QTimer::singleShot(0, &window(), [&] {
        busyAtNestedTick = window().appState().refreshBusy;
        tick();
    });

    tick();

    EXPECT_TRUE(busyAtNestedTick);
    EXPECT_EQ(server_.requestCount(), 4);
    EXPECT_FALSE(window().appState().refreshBusy);
    tick();
    EXPECT_EQ(server_.requestCount(), 7);
}

TEST_F(WatchGridTest, ReplyWithMoreEntriesThanCodesFillsOnlyWatchedRows) {
    server_.setContent("sh600887", testing::contentOf(rising()));
    server_.setContent("sz000001", testing::contentOf(falling()));
    server_.setExtraEntries(3);
    start("sh600887\r\nsz000001\r\n", server_.baseUrl());

    EXPECT_EQ(window().appState().quoteTable.quoteCount(), 5);
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
    EXPECT_EQ(cell(2, 2), gbk("平安银行"));
}

TEST_F(WatchGridTest, LastLineWithoutLineEndIsStillWatched) {
    serveThreeQuotes();
    start("sh600887\r\nsz000001", server_.baseUrl());

    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(cell(2, 1), "sz000001");
    EXPECT_EQ(cell(2, 10), "-5%");
}

TEST_F(WatchGridTest, EmptyFileShowsOnlyTheHeaderAndAsksNothing) {
    start("", server_.baseUrl());

    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(grid().columnCount(), 13);
    EXPECT_EQ(cell(0, 1), gbk("股票代码"));
    EXPECT_EQ(server_.requestCount(), 0);
    EXPECT_TRUE(window().appState().watchList.empty());
    EXPECT_EQ(timerInterval(), 1000);
    tick();
    EXPECT_EQ(server_.requestCount(), 0);
}

TEST_F(WatchGridTest, MissingFileShowsOnlyTheHeaderAndCreatesNoFile) {
    start(std::nullopt, server_.baseUrl());

    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(cell(0, 11), gbk("时间"));
    EXPECT_EQ(server_.requestCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(toQt(systemPath())));
    EXPECT_EQ(timerInterval(), 1000);
}

}  // namespace
}  // namespace quovella
