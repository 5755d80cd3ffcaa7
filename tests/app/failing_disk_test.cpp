// A full or failing disk under the real window: each of the user's writes, the revaluation's
// own updates and the close, with the C library's writes failing on gp.mdb, its WAL or
// "system.txt" (support/fault_injection.h). After each: the user was told (or nothing was
// asked), the store is whole with every earlier row, the watch list is the old one with no
// temporary beside it, the window shows what is stored, and the same action works once the
// disk is sound again.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "app/holdings_window_fixture.h"
#include "app/records_window_fixture.h"
#include "support/fault_injection.h"
#include "support/sqlite_query.h"
#include "ui/list_view.h"

namespace quovella {
namespace {

using testing::DiskFault;
using testing::queryText;

enum class Action { save, holdingAdd, recordDelete, revaluation, watchAdd, watchDelete, close };

struct FaultCase {
    Action action;
    DiskFault fault;
};

const std::vector<std::string> kStoreFiles = {"gp.mdb", "gp.mdb-wal"};

const char* failureText(Action action) {
    switch (action) {
        case Action::save:
            return "记录未能保存!";
        case Action::holdingAdd:
            return "持有记录未能保存!";
        case Action::recordDelete:
            return "删除失败";
        case Action::watchAdd:
        case Action::watchDelete:
            return "监视列表未能保存!";
        default:
            return nullptr;  // the program's own writes, and the close, ask nothing
    }
}

bool onWatchList(Action action) {
    return action == Action::watchAdd || action == Action::watchDelete;
}

class FailingDisk : public testing::HoldingsWindowFixture,
                    public ::testing::WithParamInterface<FaultCase> {
  protected:
    std::vector<testing::SeedHolding> seedHoldings() const override { return {{"sh600887"}}; }
    void prepareRunDirectory(const std::string& runDirectory) override {
        RecordStore store;
        ASSERT_TRUE(store.open(storePathIn(runDirectory), "") && store.bindCursor());
        for (const char* code : {"sh600887", "sz000001"}) {
            ASSERT_TRUE(insertSnapshot(store, testing::quoteValues(code, "伊利股份", "1.00%"),
                                       "2020-08-27"));
        }
        std::ofstream(runDirectory + "/system.txt", std::ios::binary) << "sh600887\r\nsz000001\r\n";
        for (const char* code : {"sh600887", "sz000001", "sh600519"}) {
            server_.setContent(code, testing::priceContent("10.50"));
        }
    }
    void SetUp() override {
        HoldingsWindowFixture::SetUp();
        stopWatchRefresh();
        startWal();
    }
    // A commit through the window's connection that changes no row. The first commit of a
    // new WAL syncs its header whatever the sync setting; only the later ones are synced
    // for synchronous=FULL alone.
    void startWal() {
        StoreWorker& store = *state_.store;
        ASSERT_TRUE(store.worker().post([&store](const CancelFlag&) {
            store.store().openCursor("pragma user_version = 1", RecordStore::kStatement);
        }));
        while (!store.worker().idle()) std::this_thread::yield();
        ASSERT_EQ(storeAnswer("pragma user_version"), "1");
    }
    void TearDown() override {
        testing::clearDiskFault();
        HoldingsWindowFixture::TearDown();
    }

    void act(Action action) {
        switch (action) {
            case Action::save:
                return saveSnapshot();
            case Action::holdingAdd:
                return addHolding();
            case Action::recordDelete:
                window().recordsPage().编辑框_选中ID->setText("1");
                window().recordsPage().按钮_删除选中->setEnabled(true);
                window().recordsPage().按钮_删除选中->click();
                return settle();
            case Action::revaluation:
                tick();
                ASSERT_TRUE(waitForPass());
                return;
            case Action::watchAdd:
                dialogs_.answerText("600519");
                window().watchPage().按钮_添加->click();
                settle();
                return stopWatchRefresh();
            case Action::watchDelete:
                window().watchPage().高级表格_股票->setCurrentCell(2, 1);
                window().watchPage().按钮_删除->click();
                return settle();
            case Action::close:
                window_.reset();
                state_.release();
                return;
        }
    }
    // What the action leaves that would not be there without it.
    bool tookEffect(Action action) {
        switch (action) {
            case Action::save:
            case Action::close:
                return storeAnswer("select count(*) from sj where 日期='2020-08-28'") == "1";
            case Action::holdingAdd:
                return storeAnswer("select count(*) from cy where 股票代码='sh600519'") == "1";
            case Action::recordDelete:
                return storeAnswer("select count(*) from sj where id=1") == "0";
            case Action::revaluation:
                return storeAnswer("select 现价 from cy where id=1") != "<null>";
            case Action::watchAdd:
                return fileText() == "sh600887\r\nsz000001\r\nsh600519\r\n";
            case Action::watchDelete:
                return fileText() == "sh600887\r\n";
        }
        return false;
    }
    // The window over the run directory as it is, after a close.
    void startAgain() {
        state_ = AppState();
        window_ = std::make_unique<MainWindow>(
            state_, runDirectory(), server_.baseUrl(),
            WindowServices{&dialogs_, &clock_, testing::shortTimeouts()});
        window_->holdingsPage().时钟_更新持有->setInterval(0);
        window_->show();
        settle();
        stopWatchRefresh();
    }

    // The first watched code's row, with the quote start-up brought, double-clicked.
    void saveSnapshot() {
        dialogs_.answerOk();
        Grid& grid = *window().watchPage().高级表格_股票;
        grid.selectRange({1, 1, 1, 11});
        emit grid.doubleClicked(0, 0, 0);
        settle();
    }
    void addHolding() {
        HoldingsPage& page = window().holdingsPage();
        page.编辑框_股票代码->setText("600519");
        page.编辑框_购买股数->setText("100");
        page.编辑框_购买单价->setText("1700");
        page.按钮_添加持有->click();
        settle();
    }
    void stopWatchRefresh() { window().watchPage().时钟_刷新周期->setInterval(0); }

    std::string storeAnswer(const std::string& query) {
        return queryText(storePathIn(runDirectory()), query);
    }
    // Every stored row's id, and the revaluation's price of each holding.
    std::string storedRows() {
        return storeAnswer("select group_concat(id) from sj") + "|" +
               storeAnswer("select group_concat(id||':'||ifnull(现价,'')) from cy");
    }
    std::string fileText() const {
        std::ifstream in(runDirectory() + "/system.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> filesBesideTheList() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(runDirectory())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("system.txt.", 0) == 0) names.push_back(name);
        }
        return names;
    }
    int boxesSaying(const char* text, std::size_t from) {
        int count = 0;
        for (std::size_t i = from; i < dialogs_.shown().size(); ++i) {
            count += text != nullptr && dialogs_.shown()[i].text == gbk(text);
        }
        return count;
    }
    static std::string joined(const std::vector<std::string>& texts) {
        std::string all;
        for (const std::string& text : texts) all += (all.empty() ? "" : ",") + text;
        return all;
    }
    // The watch grid's codes, the records list's ids and the holdings grid's ids, against
    // the file and the store.
    void expectShownAsStored() {
        Grid& watch = *window().watchPage().高级表格_股票;
        std::string codes;
        for (int r = 1; r < watch.rowCount(); ++r)
            codes += watch.cellText(r, 1).value_or("") + "\r\n";
        EXPECT_EQ(codes, fileText());
        std::vector<std::string> listed;
        const ListView& list = *window().recordsPage().超级列表框_数据表;
        for (int r = 0; r < list.rowCount(); ++r) listed.push_back(list.itemText(r, 0));
        EXPECT_EQ(joined(listed),
                  storeAnswer("select group_concat(id) from (select id from sj order by id)"));
        std::vector<std::string> held;
        for (int r = 1; r < grid().rowCount() && !cell(r, 2).empty(); ++r)
            held.push_back(cell(r, 0));
        EXPECT_EQ(joined(held),
                  storeAnswer("select group_concat(id) from (select id from cy order by id)"));
    }
};

TEST_P(FailingDisk, TheUserIsToldNothingIsLostAndTheNextTryWorks) {
    const FaultCase& c = GetParam();
    if (c.action == Action::close) {
        saveSnapshot();  // a row the close's checkpoint must carry into the file
        ASSERT_TRUE(tookEffect(c.action));
    }
    const std::string rowsBefore = storedRows();
    const std::string listBefore = fileText();
    std::size_t shownBefore = dialogs_.shown().size();

    testing::injectDiskFault(
        c.fault, onWatchList(c.action) ? std::vector<std::string>{"system.txt"} : kStoreFiles);
    act(c.action);
    const int failedCalls = testing::injectedFailures();
    testing::clearDiskFault();
    ASSERT_GT(failedCalls, 0) << "the fault was never met";
    if (c.action == Action::close) startAgain();

    EXPECT_EQ(boxesSaying(failureText(c.action), shownBefore), failureText(c.action) ? 1 : 0);
    if (!failureText(c.action)) {
        EXPECT_EQ(dialogs_.shown().size(), shownBefore);
    }
    EXPECT_EQ(storeAnswer("pragma integrity_check"), "ok");
    EXPECT_EQ(storedRows(), rowsBefore);
    EXPECT_EQ(fileText(), listBefore);
    EXPECT_TRUE(filesBesideTheList().empty());
    expectShownAsStored();

    shownBefore = dialogs_.shown().size();
    act(c.action);
    if (c.action == Action::close) startAgain();
    EXPECT_TRUE(tookEffect(c.action));
    EXPECT_EQ(boxesSaying(failureText(c.action), shownBefore), 0);
    EXPECT_EQ(boxesSaying("：当日已添加", shownBefore), 0);
    EXPECT_EQ(storeAnswer("pragma integrity_check"), "ok");
    expectShownAsStored();
}

std::vector<FaultCase> everyCase() {
    std::vector<FaultCase> cases;
    for (const Action action :
         {Action::save, Action::holdingAdd, Action::recordDelete, Action::revaluation,
          Action::close, Action::watchAdd, Action::watchDelete}) {
        for (const DiskFault fault : {DiskFault::noSpace, DiskFault::ioError, DiskFault::shortWrite,
                                      DiskFault::failedSync}) {
            cases.push_back({action, fault});
        }
        if (onWatchList(action)) cases.push_back({action, DiskFault::failedRename});
    }
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<FaultCase>& info) {
    static const char* const actions[] = {"save",     "holdingAdd",  "recordDelete", "revaluation",
                                          "watchAdd", "watchDelete", "close"};
    static const char* const faults[] = {"none",       "noSpace",    "ioError",
                                         "shortWrite", "failedSync", "failedRename"};
    return std::string(actions[static_cast<int>(info.param.action)]) + "_" +
           faults[static_cast<int>(info.param.fault)];
}

INSTANTIATE_TEST_SUITE_P(EveryFault, FailingDisk, ::testing::ValuesIn(everyCase()), caseName);

}  // namespace
}  // namespace quovella
