// Each pending state of the window met by the user's actions: the request the server holds,
// or the store's write lock held by another program. Every case checks the rule of its cell
// in the interleaving table: it runs, waits its turn, is refused with a message, or cancels.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>

#include "app/holdings_window_fixture.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/single_instance.h"
#include "records/records_browser.h"
#include "records/snapshot.h"
#include "support/sqlite_query.h"
#include "ui/slider.h"

namespace quovella {
namespace {

using namespace std::chrono_literals;

const std::string kList = "sh600887\r\nsz000001\r\n";

class InterleavingTest : public testing::HoldingsWindowFixture {
  protected:
    std::vector<testing::SeedHolding> seedHoldings() const override { return {{"sh600887"}}; }
    void prepareRunDirectory(const std::string& directory) override {
        std::ofstream(directory + "/system.txt", std::ios::binary) << kList;
        for (const char* code : {"sh600887", "sz000001", "sh600000"})
            server_.setContent(code, testing::priceContent("10.50"));
        ASSERT_EQ(
            testing::queryText(storePathIn(directory),
                               "insert into sj(股票代码, 日期) values('sh600519', '2020-08-27')"),
            "");
    }
    void SetUp() override {
        HoldingsWindowFixture::SetUp();
        // The tests start the refresh themselves.
        watch().时钟_刷新周期->setInterval(0);
    }
    void TearDown() override {
        server_.release();
        HoldingsWindowFixture::TearDown();
    }
    void spin(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) QCoreApplication::processEvents();
    }
    // A building of the window whose start-up load the server holds.
    void restartWithTheLoadHeld() {
        window_.reset();
        server_.hold();
        window_ = std::make_unique<MainWindow>(
            state_, runDirectory(), server_.baseUrl(),
            WindowServices{&dialogs_, &clock_, testing::shortTimeouts()});
        window_->show();
        ASSERT_TRUE(server_.waitForHeldRequest());
    }
    // As the user drags it: the page hears of the move.
    static void moveSlider(Slider* slider, int position) {
        slider->setPosition(position);
        slider->triggerAction(QAbstractSlider::SliderMove);
    }
    WatchPage& watch() { return window().watchPage(); }
    RecordsPage& records() { return window().recordsPage(); }
    Grid& watchGrid() { return *watch().高级表格_股票; }
    void doubleClickWatchRow(int row) {
        watchGrid().selectRange({row, 1, row, watchGrid().columnCount() - 1});
        emit watchGrid().doubleClicked(0, 0, 0);
    }
    std::string fileText() const {
        std::ifstream in(runDirectory() + "/system.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int storedSnapshots() {
        return std::stoi(
            testing::queryText(storePathIn(runDirectory()), "select count(*) from sj"));
    }
    std::vector<std::string> shownTexts() {
        std::vector<std::string> texts;
        for (const testing::ShownBox& box : dialogs_.shown()) texts.push_back(box.text);
        return texts;
    }
    // The close as the program sees it: true once closeFinished came, within 5 s.
    bool closeAndWaitForTheEnd(const std::function<void()>& meanwhile = [] {}) {
        bool finished = false;
        QObject::connect(&window(), &MainWindow::closeFinished, [&finished] { finished = true; });
        window().close();
        meanwhile();
        return spinUntil([&finished] { return finished; });
    }
    bool spinUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (!done() && std::chrono::steady_clock::now() < end) QCoreApplication::processEvents();
        return done();
    }
    // Another program's lock is held while the user saves a snapshot and adds a holding,
    // and a revaluation pass queues its update behind them.
    void askWritesUnderTheLock() {
        dialogs_.answerOk();
        doubleClickWatchRow(1);
        window().holdingsPage().编辑框_股票代码->setText("600000");
        window().holdingsPage().按钮_添加持有->click();
        emit window().holdingsPage().时钟_更新持有->tick();
        ASSERT_TRUE(spinUntil([this] { return !window().holdingsPage().revaluationBusy(); }));
    }
};

// The write lock of another program's open transaction on gp.mdb.
class ForeignWriteLock {
  public:
    explicit ForeignWriteLock(const std::string& path) {
        sqlite3_open(path.c_str(), &db_);
        held_ = sqlite3_exec(db_, "begin immediate; insert into cy(股票代码) values('x');", nullptr,
                             nullptr, nullptr) == SQLITE_OK;
    }
    ~ForeignWriteLock() { release(); }
    void release() {
        if (db_ != nullptr) sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
        db_ = nullptr;
    }
    bool held() const { return held_; }

  private:
    sqlite3* db_ = nullptr;
    bool held_ = false;
};

// While the load waits for its reply, a row holds only its code: a save is refused with a
// message; a slider move takes effect once the fill has come; a tick asks nothing.
TEST_F(InterleavingTest, ALoadWaitingForItsReply) {
    restartWithTheLoadHeld();
    const int asked = server_.requestCount();
    doubleClickWatchRow(1);
    moveSlider(watch().滑块条_刷新时间, 4);
    emit watch().时钟_刷新周期->tick();
    spin(50ms);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{gbk("选中的不是一整行行情，未保存记录!")});
    EXPECT_EQ(server_.requestCount(), asked);
    server_.release();
    settle();
    EXPECT_EQ(storedSnapshots(), 1);
    EXPECT_EQ(watch().时钟_刷新周期->interval(), 4000);
}

// An add during a refresh pass ends the pass: no refresh request goes out between the add's
// check and its reload. A save of a row that has its quote runs.
TEST_F(InterleavingTest, ARefreshPass) {
    server_.hold();
    emit watch().时钟_刷新周期->tick();
    ASSERT_TRUE(server_.waitForHeldRequest());
    dialogs_.answerOk();
    doubleClickWatchRow(2);
    dialogs_.answerText("600000");
    watch().按钮_添加->click();
    server_.release();
    settle();
    const std::vector<std::string> asked = server_.requestedLists();
    ASSERT_GE(asked.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(asked.end() - 3, asked.end()),
              (std::vector<std::string>{"sh600887", "sh600000", "sh600887,sz000001,sh600000"}));
    EXPECT_EQ(storedSnapshots(), 2);
    EXPECT_FALSE(window().appState().refreshBusy);
}

// While an add's check is out, the slider sets its label but no refresh starts; the add's
// reload starts the timer at the period chosen meanwhile. A delete runs, and the reload
// keeps it.
TEST_F(InterleavingTest, AnAddsCheck) {
    server_.hold();
    dialogs_.answerText("600000");
    watch().按钮_添加->click();
    ASSERT_TRUE(server_.waitForHeldRequest());
    moveSlider(watch().滑块条_刷新时间, 5);
    EXPECT_EQ(watch().时钟_刷新周期->interval(), 0);
    emit watch().时钟_刷新周期->tick();
    watchGrid().setCurrentCell(2, 1);
    watch().按钮_删除->click();
    server_.release();
    settle();
    EXPECT_EQ(watch().时钟_刷新周期->interval(), 5000);
    EXPECT_EQ(server_.requestedLists().back(), "sh600887,sh600000");
    EXPECT_EQ(fileText(), "sh600887\r\nsh600000\r\n");
}

// The store's writes wait for another program's lock on the store's worker, never on the GUI
// thread: the save's message, the delete's message and the rows all come when the lock goes,
// in the order asked, and the records list's search waits behind the delete.
TEST_F(InterleavingTest, AStoreWriteWaitingForALock) {
    ForeignWriteLock lock(storePathIn(runDirectory()));
    ASSERT_TRUE(lock.held());
    dialogs_.answerOk();
    doubleClickWatchRow(1);
    window().holdingsPage().编辑框_股票代码->setText("600000");
    window().holdingsPage().按钮_添加持有->click();
    records().编辑框_选中ID->setText("1");
    records().按钮_删除选中->setEnabled(true);
    records().按钮_删除选中->click();
    records().按钮_搜索->click();
    spin(200ms);
    EXPECT_EQ(dialogs_.shown().size(), 1u);  // the question alone
    EXPECT_EQ(records().超级列表框_数据表->itemText(0, 0), "1");

    lock.release();
    settle();
    EXPECT_EQ(shownTexts(),
              (std::vector<std::string>{gbk("是否保存记录:sh600887/伊利股份"), gbk("删除成功")}));
    EXPECT_EQ(storedSnapshots(), 1);
    ASSERT_EQ(records().超级列表框_数据表->rowCount(), 1);
    EXPECT_EQ(records().超级列表框_数据表->itemText(0, 2), "sh600887");
    EXPECT_EQ(stored().size(), 2u);
    EXPECT_EQ(cell(2, 2), "sh600000");
}

// A revaluation pass waits for its price while a holding is added: the add runs, and the
// pass's result still reaches the row it was made for, in the grid and in the store.
TEST_F(InterleavingTest, ARevaluationPass) {
    server_.hold();
    emit window().holdingsPage().时钟_更新持有->tick();
    ASSERT_TRUE(server_.waitForHeldRequest());
    window().holdingsPage().编辑框_股票代码->setText("600000");
    window().holdingsPage().按钮_添加持有->click();
    settle();
    emit window().holdingsPage().时钟_更新持有->tick();  // starts no second pass
    server_.release();
    ASSERT_TRUE(waitForPass());
    spin(500ms);  // time enough for a second pass, had one been started
    settle();
    const std::vector<std::string> asked = server_.requestedLists();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "sh600000"), 0);
    ASSERT_EQ(stored().size(), 2u);
    EXPECT_EQ(stored()[0][7], "10.50");
    EXPECT_EQ(cell(1, 7), "10.50");
    EXPECT_EQ(cell(2, 2), "sh600000");
    EXPECT_EQ(stored()[1][7], "");
}

// A close meets writes another program's lock holds back: the revaluation's queued update is
// dropped, the writes the user asked for get what is left of the close time, and each that
// could not land is told before the end, the snapshot, the holding and the delete with their
// own texts. Nothing is half-written.
TEST_F(InterleavingTest, AStoreWriteMeetsAClose) {
    ForeignWriteLock lock(storePathIn(runDirectory()));
    ASSERT_TRUE(lock.held());
    askWritesUnderTheLock();
    records().编辑框_选中ID->setText("1");
    records().按钮_删除选中->setEnabled(true);
    records().按钮_删除选中->click();
    const auto closing = std::chrono::steady_clock::now();
    std::size_t toldAtTheEnd = 0;
    QObject::connect(&window(), &MainWindow::closeFinished,
                     [&] { toldAtTheEnd = dialogs_.shown().size(); });
    ASSERT_TRUE(closeAndWaitForTheEnd());
    EXPECT_LT(std::chrono::steady_clock::now() - closing, 2s);
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(shownTexts(),
              (std::vector<std::string>{gbk("是否保存记录:sh600887/伊利股份"), gbk("记录未能保存!"),
                                        gbk("持有记录未能保存!"), gbk("删除失败")}));
    EXPECT_EQ(toldAtTheEnd, 4u);
    lock.release();
    const std::string path = storePathIn(runDirectory());
    EXPECT_EQ(testing::queryText(path, "pragma integrity_check"), "ok");
    EXPECT_EQ(storedSnapshots(), 1);  // the one the delete could not reach
    EXPECT_EQ(testing::queryText(path, "select count(*) from cy"), "1");
}

// A second start while the close waits for the store: the closing window does not come
// back; the later start is told this copy is ending, and takes the directory once it ends.
TEST_F(InterleavingTest, AStoreWriteMeetsASecondStart) {
    auto first = std::make_unique<SingleInstance>(runDirectory());
    ASSERT_EQ(first->claim(), SingleInstance::Claim::First);
    first->answerLaterStarts([this] { return window().comeForward(); });
    ForeignWriteLock lock(storePathIn(runDirectory()));
    ASSERT_TRUE(lock.held());
    askWritesUnderTheLock();
    SingleInstance later(runDirectory());
    std::optional<SingleInstance::Reply> reply;
    std::optional<SingleInstance::Claim> claimed;
    ASSERT_TRUE(closeAndWaitForTheEnd([&] {
        ASSERT_EQ(later.claim(), SingleInstance::Claim::AnotherRuns);
        later.bringForward([&](SingleInstance::Reply answer) {
            reply = answer;
            later.claimWhenFree(10s, [&](SingleInstance::Claim last) { claimed = last; });
        });
        ASSERT_TRUE(spinUntil([&] { return reply.has_value(); }));
        EXPECT_FALSE(window().isVisible());
    }));
    EXPECT_EQ(reply, SingleInstance::Reply::ending);
    first.reset();  // the first copy's process ends
    ASSERT_TRUE(spinUntil([&] { return claimed.has_value(); }));
    EXPECT_EQ(claimed, SingleInstance::Claim::First);
}

// Steps asked while another program holds the store's lock end as the same steps taken slowly
// would leave them: each store job and each list step takes its place when asked.
struct OrderCase {
    const char* name;
    std::function<void(class StepOrderTest&)> before;  // before the lock
    std::function<void(class StepOrderTest&)> ask;
    std::vector<std::string> listed;  // the records list's codes at the end
    int snapshots;
};

void PrintTo(const OrderCase& order, std::ostream* out) {
    *out << order.name;
}

class StepOrderTest : public InterleavingTest, public ::testing::WithParamInterface<OrderCase> {
  public:
    void search(const char* text) {
        records().编辑框_条件->setText(QString::fromLatin1(text));
        records().按钮_搜索->click();
    }
    void deleteRecord(const char* id) {
        records().编辑框_选中ID->setText(QString::fromLatin1(id));
        records().按钮_删除选中->setEnabled(true);
        records().按钮_删除选中->click();
    }
    void save(int row) {
        dialogs_.answerOk();
        doubleClickWatchRow(row);
    }
    void insertSnapshot(const char* code, bool today = false) {
        const std::string date = today ? dateText(clock_.now()) : "2020-08-28";
        testing::queryText(
            storePathIn(runDirectory()),
            std::string("insert into sj(股票代码, 日期) values('") + code + "', '" + date + "')");
    }
    void restart() {
        window_.reset();
        window_ = std::make_unique<MainWindow>(
            state_, runDirectory(), server_.baseUrl(),
            WindowServices{&dialogs_, &clock_, testing::shortTimeouts()});
        window_->show();
    }
    void sortCodesForwardThenPickReverse() {
        emit records().超级列表框_数据表->columnHeaderClicked(2);
        records().单选框_逆向->setChecked(true);
    }
    std::vector<std::string> listedCodes() {
        std::vector<std::string> codes;
        for (int row = 0; row < records().超级列表框_数据表->rowCount(); ++row)
            codes.push_back(records().超级列表框_数据表->itemText(row, 2));
        return codes;
    }
};

const OrderCase kOrderCases[] = {
    {"SaveThenSearch",
     [](StepOrderTest&) {},
     [](StepOrderTest& t) { t.save(1), t.search("sh600519"); },
     {"sh600519"},
     2},
    {"DeleteThenSave",
     [](StepOrderTest& t) { t.insertSnapshot("sh600887", true); },
     [](StepOrderTest& t) { t.deleteRecord("1"), t.deleteRecord("2"), t.save(1); },
     {"sh600887"},
     1},
    {"SearchWhileTheStoreOpens",
     [](StepOrderTest& t) { t.insertSnapshot("sz000001"); },
     [](StepOrderTest& t) { t.restart(), t.search("sz000001"); },
     {"sz000001"},
     2},
    {"HeaderClickBehindARefill",
     [](StepOrderTest& t) { t.insertSnapshot("sh600000"); },
     [](StepOrderTest& t) { t.save(1), t.sortCodesForwardThenPickReverse(); },
     {"sh600000", "sh600519", "sh600887"},
     3},
};

TEST_P(StepOrderTest, EndsAsTheStepsTakenSlowly) {
    const OrderCase& order = GetParam();
    order.before(*this);
    ForeignWriteLock lock(storePathIn(runDirectory()));
    ASSERT_TRUE(lock.held());
    order.ask(*this);
    spin(100ms);
    lock.release();
    settle();
    EXPECT_EQ(listedCodes(), order.listed);
    EXPECT_EQ(storedSnapshots(), order.snapshots);
    const std::vector<std::string> told = shownTexts();
    EXPECT_EQ(std::count(told.begin(), told.end(), duplicateMessage("sh600887")), 0);
}

INSTANTIATE_TEST_SUITE_P(InterleavingTest, StepOrderTest, ::testing::ValuesIn(kOrderCases),
                         [](const auto& each) { return std::string(each.param.name); });

// A reload's read that waited behind a holding add under the lock lands after a pass showed
// newer prices: the grid keeps them.
TEST_F(InterleavingTest, AHoldingsReloadMeetsANewerPass) {
    ForeignWriteLock lock(storePathIn(runDirectory()));
    ASSERT_TRUE(lock.held());
    window().holdingsPage().编辑框_股票代码->setText("600000");
    window().holdingsPage().按钮_添加持有->click();
    tick();
    ASSERT_TRUE(spinUntil([this] { return !busy() && cell(1, 7) == "10.50"; }));
    lock.release();
    settle();
    EXPECT_EQ(cell(2, 2), "sh600000");
    EXPECT_EQ(cell(1, 7), "10.50");
}

}  // namespace
}  // namespace quovella
