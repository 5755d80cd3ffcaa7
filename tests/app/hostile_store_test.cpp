// Every bad "gp.mdb" tried, and what must hold for each: the status pane says whether the
// store connected, a save it refuses says so, a holding it refuses is not shown as stored,
// and after the window has gone the file still holds everything it held before.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>

#include "app/records_window_fixture.h"
#include "holdings/holdings_store.h"
#include "support/sqlite_query.h"
#include "ui/grid.h"
#include "ui/status_bar.h"

namespace quovella {
namespace {

using testing::queryText;

using testing::RecordsWindowFixture;

// Inserts rows through the window's own connection until the store refuses to grow.
void fillUp(RecordStore& store, const std::string& table) {
    const std::string insert = "insert into " + table + gbk("(股票代码) values('filler')");
    for (int i = 0; i < 100000 && store.openCursor(insert, RecordStore::kStatement); ++i) {
    }
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string randomBytes() {
    std::mt19937 bytes(7);
    std::string out;
    for (int i = 0; i < 8192; ++i) out.push_back(static_cast<char>(bytes() & 0xFF));
    return out;
}

struct StoreCase {
    const char* name;
    // Turns the seeded store (two snapshots, one holding) into the bad one before start-up.
    std::function<void(const std::string& path)> spoil;
    // Breaks the store the window opened, as the world could once it runs.
    std::function<void(const std::string& path, RecordStore&)> spoilOpen;
    bool connects;
    int listed;  // snapshots listed at start-up
    bool savesSnapshot;
    bool storesHolding;
};

const StoreCase kCases[] = {
    {"notSqlite", [](const std::string& p) { writeBytes(p, randomBytes()); }, nullptr, false, 0,
     false, false},
    {"emptyFile", [](const std::string& p) { writeBytes(p, ""); }, nullptr, false, 0, false, false},
    {"noSnapshotTable", [](const std::string& p) { ASSERT_EQ(queryText(p, "drop table sj"), ""); },
     nullptr, false, 0, false, false},
    {"noHoldingTable", [](const std::string& p) { ASSERT_EQ(queryText(p, "drop table cy"), ""); },
     nullptr, false, 0, false, false},
    // Listed with the column empty; a save naming it is refused.
    {"snapshotColumnMissing",
     [](const std::string& p) { ASSERT_EQ(queryText(p, "alter table sj drop column 涨跌"), ""); },
     nullptr, true, 2, false, true},
    {"holdingColumnMissing",
     [](const std::string& p) { ASSERT_EQ(queryText(p, "alter table cy drop column 购买价"), ""); },
     nullptr, true, 2, true, false},
    // The disk fills up while the window runs: the store may not grow by a page more.
    {"fullDisk", nullptr,
     [](const std::string&, RecordStore& store) {
         ASSERT_TRUE(store.openCursor("pragma max_page_count = 1", RecordStore::kStatement));
         fillUp(store, "sj");
         fillUp(store, "cy");
     },
     true, 2, false, false},
    // As the window opens a store it may not write.
    {"readOnly", nullptr,
     [](const std::string& p, RecordStore& store) {
         ASSERT_TRUE(store.open(p, "", RecordStore::Access::readOnly) && store.bindCursor());
     },
     true, 2, false, false},
};

class HostileStore : public RecordsWindowFixture, public ::testing::WithParamInterface<StoreCase> {
  protected:
    std::vector<testing::SeedRow> seedRows() const override {
        return {{"2020-08-27", "sh600887", "伊利股份", "1.00%"},
                {"2020-08-27", "sz000001", "平安银行", "-1.00%"}};
    }
    void prepareRunDirectory(const std::string& runDirectory) override {
        RecordsWindowFixture::prepareRunDirectory(runDirectory);
        const std::string path = storePathIn(runDirectory);
        {
            RecordStore store;
            ASSERT_TRUE(store.open(path, "") && store.bindCursor());
            ASSERT_TRUE(insertHolding(
                store, {"2020-08-07", "sh600887", gbk("伊利股份"), "100", "9.87", "987"}));
        }
        if (GetParam().spoil) GetParam().spoil(path);
        before_ = readBytes(path);
    }
    std::string path() { return storePathIn(runDirectory()); }

    void saveSnapshot() {
        dialogs_.answerOk();
        doubleClickQuoteRow("sh600519", "贵州茅台", "1.00%");
    }
    void addHolding() {
        HoldingsPage& page = window().holdingsPage();
        page.日期框1->setDate(QDate(2020, 8, 7));
        page.编辑框_股票代码->setText("600519");
        page.编辑框_购买股数->setText("100");
        page.编辑框_购买单价->setText("1700");
        page.按钮_添加持有->click();
        settle();
    }
    // The holdings grid's codes, from row 1 on.
    std::vector<std::string> heldCodes() {
        Grid& grid = *window().holdingsPage().高级表格_持有;
        std::vector<std::string> codes;
        for (int r = 1; r < grid.rowCount(); ++r) codes.push_back(grid.cellText(r, 2).value_or(""));
        return codes;
    }
    std::string before_;
};

TEST_P(HostileStore, NothingStoredIsLostAndARefusedSaveSaysSo) {
    const StoreCase& c = GetParam();
    EXPECT_EQ(window().状态条1->paneText(1), gbk(c.connects ? "连接成功" : "连接失败"));
    EXPECT_EQ(list().rowCount(), c.listed);
    EXPECT_TRUE(dialogs_.shown().empty());
    if (c.spoilOpen) c.spoilOpen(path(), state_.store->store());
    const std::string count = "select count(*) from ";
    const std::string snapshots = c.connects ? queryText(path(), count + "sj") : "";
    const std::string holdings = c.connects ? queryText(path(), count + "cy") : "";

    saveSnapshot();
    int refusals = 0;
    for (const auto& box : dialogs_.shown())
        refusals += box.text == gbk("记录未能保存!") && box.caption == gbk("信息：");
    EXPECT_EQ(refusals, c.savesSnapshot ? 0 : 1);
    addHolding();
    const std::vector<std::string> held = heldCodes();
    EXPECT_EQ(std::count(held.begin(), held.end(), "sh600519"), c.storesHolding ? 1 : 0);

    window_.reset();
    state_.release();
    if (!c.connects) {
        EXPECT_EQ(readBytes(path()), before_);
        return;
    }
    EXPECT_EQ(queryText(path(), "pragma integrity_check"), "ok");
    EXPECT_EQ(queryText(path(), count + "sj"),
              std::to_string(std::stoi(snapshots) + c.savesSnapshot));
    EXPECT_EQ(queryText(path(), count + "cy"),
              std::to_string(std::stoi(holdings) + c.storesHolding));
}

INSTANTIATE_TEST_SUITE_P(EveryStore, HostileStore, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<StoreCase>& c) {
                             return std::string(c.param.name);
                         });

}  // namespace
}  // namespace quovella
