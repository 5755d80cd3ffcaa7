// The records page of the main window over a real store: start-up fill, colours through
// the custom-draw path, search, delete and picking a row.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>

#include "app/records_window_fixture.h"
#include "ui/grid.h"
#include "ui/status_bar.h"
#include "ui/ui_events.h"

namespace quovella {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::kDefaultBackground;
using testing::kDefaultText;
using testing::kGreenBackground;
using testing::kTomatoBackground;
using testing::RecordsWindowFixture;
using testing::SeedRow;

using Backgrounds = std::vector<std::pair<std::string, ColourWord>>;

class RecordsBrowserTest : public RecordsWindowFixture {
  protected:
    std::vector<SeedRow> seedRows() const override {
        return {{"2020-08-26", "sh600887", "伊利股份", "-0.40%"},
                {"2020-08-26", "sz000001", "平安银行", "-1.10%"},
                {"2020-08-27", "sh601318", "中国平安", "2.00%"},
                {"2020-08-27", "sz000887", "中鼎股份", "3.10%"}};
    }
    std::string text(const QLineEdit* edit) const { return fromQt(edit->text()); }
    void search(const std::string& condition) {
        window().recordsPage().编辑框_条件->setText(toQt(condition));
        window().recordsPage().按钮_搜索->click();
        settle();
    }
    void clickRow(int row) { testing::click(list().inputWidget(), list().rowRect(row).center()); }
    std::vector<std::string> ids() { return listColumn(0); }
};

TEST_F(RecordsBrowserTest, StartUpListsEveryStoredSnapshotInIdOrderWithItsFourteenColumns) {
    EXPECT_EQ(window().状态条1->paneText(1), gbk("连接成功"));
    EXPECT_THAT(ids(), ElementsAre("1", "2", "3", "4"));
    const std::vector<std::string> expected = {
        "1",     "2020-08-26", "sh600887", gbk("伊利股份"), "31.20",  "31.05",    "31.62",
        "31.80", "30.95",      "123456",   gbk("38.6亿"),   "-0.40%", "15:00:03", ""};
    for (int c = 0; c < 14; ++c)
        EXPECT_EQ(list().itemText(0, c), expected[static_cast<std::size_t>(c)]) << c;
    EXPECT_TRUE(dialogs_.shown().empty());
}

TEST_F(RecordsBrowserTest, RowsArePaintedByTheSignOfTheirWholeChange) {
    // -0.40% reads as 0: no colour; the text keeps the default colour on every row.
    EXPECT_EQ(backgroundsById(), (Backgrounds{{"1", kDefaultBackground},
                                              {"2", kGreenBackground},
                                              {"3", kTomatoBackground},
                                              {"4", kTomatoBackground}}));
    for (int row = 0; row < 4; ++row) {
        for (int column : {0, 11, 13}) {
            EXPECT_EQ(paintColours(row, column).text, kDefaultText) << row << "," << column;
            EXPECT_EQ(paintColours(row, column).background, paintColours(row, 3).background);
        }
    }
}

TEST_F(RecordsBrowserTest, ColoursFollowTheirSnapshotsThroughSearchAndDelete) {
    search("0887");
    EXPECT_EQ(backgroundsById(),
              (Backgrounds{{"1", kDefaultBackground}, {"4", kTomatoBackground}}));

    search("");
    EXPECT_EQ(backgroundsById().size(), 4u);
    clickRow(0);
    window().recordsPage().按钮_删除选中->click();
    settle();
    EXPECT_EQ(
        backgroundsById(),
        (Backgrounds{{"2", kGreenBackground}, {"3", kTomatoBackground}, {"4", kTomatoBackground}}));
}

TEST_F(RecordsBrowserTest, SearchMatchesTheEndOfTheCodeOrName) {
    search("0887");
    EXPECT_THAT(ids(), ElementsAre("1", "4"));
    search(gbk("平安"));  // 中国平安 ends with it, 平安银行 does not
    EXPECT_THAT(ids(), ElementsAre("3"));
    search("sh60");
    EXPECT_THAT(ids(), IsEmpty());
    search("");
    EXPECT_THAT(ids(), ElementsAre("1", "2", "3", "4"));
    EXPECT_TRUE(dialogs_.shown().empty());
}

TEST_F(RecordsBrowserTest, AConditionTheStoreRefusesLeavesTheListAsItIs) {
    search("0887");
    for (const char* hostile : {"'", "' or '1'='1", "x'; delete from sj; --"}) {
        search(hostile);
        EXPECT_THAT(ids(), ElementsAre("1", "4")) << hostile;
    }
    EXPECT_EQ(backgroundsById(),
              (Backgrounds{{"1", kDefaultBackground}, {"4", kTomatoBackground}}));
    EXPECT_THAT(storedColumn(0), ElementsAre("1", "2", "3", "4"));
    EXPECT_TRUE(dialogs_.shown().empty());
}

// The user sees only the list left as it was; the cause goes to the store's log category,
// silent unless the logging rules ask for it.
TEST_F(RecordsBrowserTest, ARefusedSearchLeavesItsCauseInTheLog) {
    static std::vector<std::string> logged;
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& context, const QString& message) {
            if (std::string(context.category) == "quovella.store") {
                logged.push_back(message.toStdString());
            }
        });
    search("'");
    EXPECT_TRUE(logged.empty());
    QLoggingCategory::setFilterRules(QStringLiteral("quovella.store.info=true"));
    search("'");
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].rfind("records read failed: SQLite 1, ", 0), 0u) << logged[0];
}

TEST_F(RecordsBrowserTest, PickingARowShowsItsIdAndCopiesItsCode) {
    clickRow(1);
    EXPECT_EQ(text(window().recordsPage().编辑框_条件), "sz000001");
    EXPECT_EQ(text(window().recordsPage().编辑框_选中ID), "2");
    EXPECT_TRUE(window().recordsPage().按钮_删除选中->isEnabled());
    EXPECT_EQ(window().状态条1->paneText(5), gbk("您选中的ID为：2"));

    // A double-click picks without touching the condition.
    window().recordsPage().编辑框_条件->setText("abc");
    list().selectRow(2);
    emit list().doubleClicked(0, 0, 0);
    EXPECT_EQ(text(window().recordsPage().编辑框_条件), "abc");
    EXPECT_EQ(text(window().recordsPage().编辑框_选中ID), "3");
    EXPECT_EQ(window().状态条1->paneText(5), gbk("您选中的ID为：3"));

    const QRect last = list().rowRect(3);
    testing::click(list().inputWidget(), QPoint(last.center().x(), last.bottom() + 40));
    EXPECT_EQ(text(window().recordsPage().编辑框_条件), "");
    EXPECT_EQ(text(window().recordsPage().编辑框_选中ID), "");
    EXPECT_FALSE(window().recordsPage().按钮_删除选中->isEnabled());
    EXPECT_EQ(window().状态条1->paneText(5), gbk("您选中的ID为："));
}

TEST_F(RecordsBrowserTest, DeleteRemovesExactlyThePickedSnapshotAndRepeatsHarmlessly) {
    clickRow(1);
    window().recordsPage().按钮_删除选中->click();
    settle();
    EXPECT_THAT(ids(), ElementsAre("1", "3", "4"));
    EXPECT_THAT(storedColumn(0), ElementsAre("1", "3", "4"));

    window().recordsPage().按钮_删除选中->click();  // the id box still holds 2
    settle();
    EXPECT_THAT(ids(), ElementsAre("1", "3", "4"));
    EXPECT_THAT(storedColumn(0), ElementsAre("1", "3", "4"));

    ASSERT_EQ(dialogs_.shown().size(), 2u);
    for (const testing::ShownBox& box : dialogs_.shown()) {
        EXPECT_EQ(box.text, gbk("删除成功"));
        EXPECT_EQ(box.caption, gbk("信息："));
        EXPECT_EQ(box.buttons, DialogButtons::Ok);
        EXPECT_FALSE(box.owned);
    }
}

TEST_F(RecordsBrowserTest, AnIdThatIsNotAWholeNumberFailsAndDeletesNothing) {
    for (const char* id : {"abc", "1 or 1=1", "0; delete from sj", "1.0", ""}) {
        window().recordsPage().编辑框_选中ID->setText(id);
        window().recordsPage().按钮_删除选中->setEnabled(true);
        window().recordsPage().按钮_删除选中->click();
        settle();
        ASSERT_FALSE(dialogs_.shown().empty());
        EXPECT_EQ(dialogs_.shown().back().text, gbk("删除失败")) << id;
        EXPECT_FALSE(dialogs_.shown().back().owned);
    }
    EXPECT_THAT(ids(), ElementsAre("1", "2", "3", "4"));
    EXPECT_THAT(storedColumn(0), ElementsAre("1", "2", "3", "4"));
}

class RecordsStartUpTest : public RecordsWindowFixture {};

TEST_F(RecordsStartUpTest, AnEmptyStoreConnectsWithAnEmptyList) {
    EXPECT_EQ(window().状态条1->paneText(1), gbk("连接成功"));
    EXPECT_EQ(list().rowCount(), 0);
}

class NoStoreTest : public RecordsWindowFixture {
  protected:
    StoreFile storeFile() const override { return StoreFile::none; }
};

TEST_F(NoStoreTest, WithoutAStoreNothingIsListedAndNothingTakesEffect) {
    EXPECT_EQ(window().状态条1->paneText(1), "");
    EXPECT_EQ(list().rowCount(), 0);

    window().recordsPage().编辑框_条件->setText("");
    window().recordsPage().按钮_搜索->click();
    settle();
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_TRUE(dialogs_.shown().empty());

    window().recordsPage().编辑框_选中ID->setText("1");
    window().recordsPage().按钮_删除选中->setEnabled(true);
    window().recordsPage().按钮_删除选中->click();
    settle();
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_EQ(dialogs_.shown()[0].text, gbk("删除失败"));

    doubleClickQuoteRow("sh600887", "伊利股份", "1.00%");
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_FALSE(state_.store->store().isOpen());
}

}  // namespace
}  // namespace quovella
