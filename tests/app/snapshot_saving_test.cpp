// Saving a snapshot by double-clicking a quote row of the real watch grid.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "app/records_window_fixture.h"
#include "ui/grid.h"
#include "ui/ui_events.h"

namespace quovella {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::kTomatoBackground;
using testing::RecordsWindowFixture;
using testing::ShownBox;

class SnapshotSavingTest : public RecordsWindowFixture {
  protected:
    void SetUp() override {
        RecordsWindowFixture::SetUp();
        Grid& grid = *window().watchPage().高级表格_股票;
        // The watch grid's own 13 columns: a whole row also selects the empty column 12,
        // whose value the save ignores.
        grid.setColumnCount(13);
        grid.setRowCount(4);
        putQuote(1, "sh600887", "伊利股份", "2.00%");
        putQuote(2, "sz000001", "平安银行", "-1.10%");
    }
    Grid& grid() { return *window().watchPage().高级表格_股票; }
    void putQuote(int row, const char* code, const char* name, const char* change) {
        grid().setCellText(row, 0, std::to_string(row));
        const std::vector<std::string> values = testing::quoteValues(code, name, change);
        for (int c = 1; c <= 11; ++c)
            grid().setCellText(row, c, values[static_cast<std::size_t>(c - 1)]);
    }
    // A real double-click on the row's name cell; the grid selects the whole row.
    void doubleClickRow(int row) {
        const QPoint at = grid().inputWidget()->mapFrom(&grid(), grid().cellRect(row, 2).center());
        testing::doubleClick(grid().inputWidget(), at);
        settle();
    }
    void setToday(int year, int month, int day) { clock_.set({year, month, day, 10, 0, 0}); }
    const ShownBox& lastBox() const { return dialogs_.shown().back(); }
};

TEST_F(SnapshotSavingTest, OkStoresTheRowDatedTodayAndTheListShowsIt) {
    dialogs_.answerOk();
    doubleClickRow(1);
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    const ShownBox& question = dialogs_.shown()[0];
    EXPECT_EQ(question.text, gbk("是否保存记录:sh600887/伊利股份"));
    EXPECT_EQ(question.caption, gbk("提示信息"));
    EXPECT_EQ(question.buttons, DialogButtons::OkCancel);
    EXPECT_TRUE(question.owned);

    EXPECT_THAT(storedColumn(1), ElementsAre("2020-08-28"));
    ASSERT_EQ(list().rowCount(), 1);
    const std::vector<std::string> expected = {
        "1",     "2020-08-28", "sh600887", gbk("伊利股份"), "31.20", "31.05",    "31.62",
        "31.80", "30.95",      "123456",   gbk("38.6亿"),   "2.00%", "15:00:03", ""};
    for (int c = 0; c < 14; ++c)
        EXPECT_EQ(list().itemText(0, c), expected[static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(paintColours(0).background, kTomatoBackground);
}

TEST_F(SnapshotSavingTest, ASaveTheStoreRefusesSaysSoAndTheListShowsTheStore) {
    const std::pair<const char*, std::function<void(RecordStore&)>> cases[] = {
        {"missing column",
         [](RecordStore& store) {
             store.openCursor(gbk("alter table sj drop column 涨跌"), RecordStore::kStatement);
         }},
        {"closed store", [](RecordStore& store) { store.close(); }},
    };
    for (const auto& [label, breakStore] : cases) {
        SCOPED_TRACE(label);
        breakStore(state_.store->store());
        const std::size_t shown = dialogs_.shown().size();
        dialogs_.answerOk();
        doubleClickRow(1);
        ASSERT_EQ(dialogs_.shown().size(), shown + 2);
        EXPECT_EQ(lastBox().text, gbk("记录未能保存!"));
        EXPECT_EQ(lastBox().caption, gbk("信息："));
        EXPECT_EQ(list().rowCount(), 0);
    }
}

TEST_F(SnapshotSavingTest, CancelStoresNothing) {
    dialogs_.answerCancel();
    doubleClickRow(1);
    EXPECT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_THAT(storedColumn(0), IsEmpty());
    EXPECT_EQ(list().rowCount(), 0);
}

TEST_F(SnapshotSavingTest, NothingSelectedIsRefused) {
    grid().selectRange({});
    emit grid().doubleClicked(0, 0, 0);
    settle();
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_EQ(lastBox().text, gbk("未选择表格!"));
    EXPECT_EQ(lastBox().caption, gbk("信息："));
    EXPECT_EQ(lastBox().buttons, DialogButtons::Ok);
    EXPECT_FALSE(lastBox().owned);
    EXPECT_THAT(storedColumn(0), IsEmpty());
}

TEST_F(SnapshotSavingTest, ASelectionShortOfAWholeQuoteRowIsRefusedWithoutAQuestion) {
    for (const GridRange range : {GridRange{1, 1, 1, 1}, GridRange{1, 1, 1, 6}}) {
        grid().selectRange(range);
        emit grid().doubleClicked(0, 0, 0);
        settle();
        ASSERT_FALSE(dialogs_.shown().empty());
        EXPECT_EQ(lastBox().buttons, DialogButtons::Ok);
        EXPECT_EQ(lastBox().caption, gbk("信息："));
        EXPECT_EQ(lastBox().text.find(gbk("是否保存记录")), std::string::npos);
    }
    EXPECT_EQ(dialogs_.shown().size(), 2u);
    EXPECT_THAT(storedColumn(0), IsEmpty());
}

TEST_F(SnapshotSavingTest, OneSnapshotPerStockAndDayEvenWhenASearchHidesTodaysRow) {
    doubleClickRow(1);
    doubleClickRow(2);  // another stock the same day
    EXPECT_THAT(storedColumn(2), ElementsAre("sh600887", "sz000001"));

    doubleClickRow(1);
    EXPECT_EQ(lastBox().text, gbk("sh600887：当日已添加"));
    EXPECT_EQ(lastBox().caption, gbk("信息："));
    EXPECT_TRUE(lastBox().owned);

    window().recordsPage().编辑框_条件->setText("000001");
    window().recordsPage().按钮_搜索->click();
    settle();
    ASSERT_EQ(list().rowCount(), 1);
    doubleClickRow(1);
    EXPECT_EQ(lastBox().text, gbk("sh600887：当日已添加"));
    EXPECT_THAT(storedColumn(2), ElementsAre("sh600887", "sz000001"));
    EXPECT_EQ(list().rowCount(), 1);  // nothing stored, nothing refilled

    setToday(2020, 8, 29);
    doubleClickRow(1);
    EXPECT_THAT(storedColumn(1), ElementsAre("2020-08-28", "2020-08-28", "2020-08-29"));
    EXPECT_THAT(listColumn(0), ElementsAre("1", "2", "3"));  // the refill lists every row
}

TEST_F(SnapshotSavingTest, MonthAndDayBelowTenArePaddedAndCheckedAsPadded) {
    setToday(2021, 3, 5);
    doubleClickRow(1);
    doubleClickRow(1);
    EXPECT_THAT(storedColumn(1), ElementsAre("2021-03-05"));
    EXPECT_EQ(lastBox().text, gbk("sh600887：当日已添加"));
    EXPECT_THAT(listColumn(1), ElementsAre("2021-03-05"));
}

TEST_F(SnapshotSavingTest, SavingAfterASearchThatFoundNothingRefillsWithEveryRow) {
    doubleClickRow(2);
    window().recordsPage().编辑框_条件->setText("nothing");
    window().recordsPage().按钮_搜索->click();
    settle();
    ASSERT_EQ(list().rowCount(), 0);
    doubleClickRow(1);
    EXPECT_THAT(listColumn(2), ElementsAre("sz000001", "sh600887"));
}

}  // namespace
}  // namespace quovella
