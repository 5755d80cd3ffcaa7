// Column-header clicks on the records list of the real window over a seeded store: the
// order per column kind and direction, the selection, blanks, and colours after a sort.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <functional>
#include <map>

#include "app/records_window_fixture.h"
#include "ui/tab_control.h"
#include "ui/ui_events.h"

namespace quovella {
namespace {

using ::testing::ElementsAre;
using testing::kDefaultBackground;
using testing::kGreenBackground;
using testing::kTomatoBackground;
using testing::RecordsWindowFixture;
using testing::SeedRow;

constexpr int kId = 0;
constexpr int kDate = 1;
constexpr int kName = 3;
constexpr int kPrice = 6;
constexpr int kChange = 11;
constexpr int kRows = 40;

// Forty snapshots over five dates and eight changes, so most sort keys tie.
const std::vector<std::string>& seedTexts() {
    static const std::vector<std::string> texts = [] {
        const char* changes[] = {"-0.50%", "-1.20%", "2.00%",  "0.30%",
                                 "-3.10%", "1.84%",  "10.01%", "-0.40%"};
        std::vector<std::string> out;
        for (int i = 0; i < kRows; ++i) {
            out.push_back("2020-08-" + std::to_string(20 + (i * 3) % 5));
            out.push_back("sh6008" + std::to_string(10 + i));
            out.push_back(changes[i % 8]);
        }
        return out;
    }();
    return texts;
}

class RecordsSortTest : public RecordsWindowFixture {
  protected:
    std::vector<SeedRow> seedRows() const override {
        std::vector<SeedRow> rows;
        const std::vector<std::string>& t = seedTexts();
        for (std::size_t k = 0; k < 3 * static_cast<std::size_t>(kRows); k += 3) {
            rows.push_back({t[k].c_str(), t[k + 1].c_str(), "伊利股份", t[k + 2].c_str()});
        }
        return rows;
    }

    // Clicks the caption when it is in view; otherwise the header's signal, as the click
    // would raise it.
    void clickHeader(int column, bool forward = true) {
        startHeaderClick(column, forward);
        settle();
    }
    // The click alone: its order comes back later.
    void startHeaderClick(int column, bool forward) {
        (forward ? window().recordsPage().单选框_正向 : window().recordsPage().单选框_逆向)
            ->setChecked(true);
        auto* header = static_cast<QHeaderView*>(list().headerWidget());
        const int x = header->sectionViewportPosition(column) + 5;
        if (x > 0 && x < header->viewport()->width()) {
            testing::click(header->viewport(), QPoint(x, header->height() / 2));
        } else {
            emit list().columnHeaderClicked(column);
        }
    }
    void startSearch(const char* text) {
        window().recordsPage().编辑框_条件->setText(QString::fromLatin1(text));
        window().recordsPage().按钮_搜索->click();
    }
    // As a pick of the row leaves the page.
    void startDelete(const char* id) {
        window().recordsPage().编辑框_选中ID->setText(QString::fromLatin1(id));
        window().recordsPage().按钮_删除选中->setEnabled(true);
        window().recordsPage().按钮_删除选中->click();
    }
    // Back to id order: an empty search lists every snapshot again.
    void listAllInIdOrder() {
        window().recordsPage().编辑框_条件->clear();
        window().recordsPage().按钮_搜索->click();
        settle();
    }
    std::vector<std::vector<std::string>> allTexts() {
        std::vector<std::vector<std::string>> rows;
        for (int c = 0; c < list().columnCount(); ++c) rows.push_back(listColumn(c));
        return rows;
    }
    std::string selectedId() { return list().itemText(list().selectedRow(), kId); }
    bool rowInView(int row) {
        window().高级选择夹1->setCurrentPage(1);  // page "数据", so the list has its size
        QCoreApplication::processEvents();
        return list().inputWidget()->rect().contains(list().rowRect(row).center());
    }
    void selectId(const std::string& id) { list().selectRow(list().findRow(id)); }
};

TEST_F(RecordsSortTest, TimeAndProfitColumnsChangeNothing) {
    clickHeader(kChange);
    selectId("7");
    const auto before = allTexts();
    for (bool forward : {true, false}) {
        for (int column : {12, 13}) {
            clickHeader(column, forward);
            EXPECT_EQ(allTexts(), before) << column;
            EXPECT_EQ(selectedId(), "7");
        }
    }
}

TEST_F(RecordsSortTest, IdsSortAsNumbersBothWays) {
    clickHeader(kChange);
    clickHeader(kId);
    std::vector<std::string> ids;
    for (int i = 1; i <= kRows; ++i) ids.push_back(std::to_string(i));
    EXPECT_EQ(listColumn(kId), ids);
    clickHeader(kChange);
    clickHeader(kId, false);
    std::reverse(ids.begin(), ids.end());
    EXPECT_EQ(listColumn(kId), ids);
}

TEST_F(RecordsSortTest, ChangesSortAsTextAndDatesChronologically) {
    clickHeader(kChange);
    std::vector<std::string> changes = listColumn(kChange);
    changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
    EXPECT_THAT(changes, ElementsAre("-0.40%", "-0.50%", "-1.20%", "-3.10%", "0.30%", "1.84%",
                                     "10.01%", "2.00%"));
    clickHeader(kDate);
    std::vector<std::string> dates = listColumn(kDate);
    EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end()));
    EXPECT_EQ(dates.front(), "2020-08-20");
}

TEST_F(RecordsSortTest, ReverseIsTheMirrorOfForwardTiesIncluded) {
    for (int column : {kDate, kChange, kPrice}) {
        listAllInIdOrder();
        clickHeader(column);
        std::vector<std::string> forward = listColumn(kId);
        listAllInIdOrder();
        clickHeader(column, false);
        std::reverse(forward.begin(), forward.end());
        EXPECT_EQ(listColumn(kId), forward) << column;
    }
}

TEST_F(RecordsSortTest, TheSelectedRowStaysSelectedAndInView) {
    ASSERT_TRUE(rowInView(0));
    ASSERT_FALSE(rowInView(kRows - 1));
    selectId("1");
    clickHeader(kId, false);
    EXPECT_EQ(selectedId(), "1");
    EXPECT_EQ(list().selectedRow(), kRows - 1);
    EXPECT_TRUE(rowInView(kRows - 1));
    for (const char* id : {"17", "3", "40"}) {
        selectId(id);
        clickHeader(kChange, std::string(id) != "3");
        EXPECT_EQ(selectedId(), id);
        EXPECT_TRUE(rowInView(list().selectedRow())) << id;
        clickHeader(kDate);
        EXPECT_EQ(selectedId(), id);
        EXPECT_TRUE(rowInView(list().selectedRow())) << id;
    }
}

TEST_F(RecordsSortTest, BringingTheSelectedRowIntoViewKeepsTheColumnsScrolledAsTheyWere) {
    ASSERT_FALSE(rowInView(kRows - 1));
    auto* table = list().findChild<QTableView*>();
    ASSERT_NE(table, nullptr);
    QScrollBar* across = table->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0);
    selectId("1");
    across->setValue(across->maximum());
    clickHeader(kChange, false);
    clickHeader(kId, false);
    EXPECT_EQ(list().selectedRow(), kRows - 1);
    EXPECT_TRUE(rowInView(kRows - 1));
    EXPECT_EQ(across->value(), across->maximum());
}

TEST_F(RecordsSortTest, WithNoSelectionNoneIsSelectedAfterwards) {
    clickHeader(kChange);
    clickHeader(kId, false);
    EXPECT_EQ(list().selectedRow(), -1);
}

TEST_F(RecordsSortTest, KeysAreTrimmedAndReadAsLeadingNumbersButCellsKeepTheirText) {
    const std::string ideographic = "\xA1\xA1";
    const std::vector<std::string> names = {"  b", ideographic + "a" + ideographic, "c "};
    const std::vector<std::string> prices = {gbk("12.5万"), " 13 ", "sh600887"};
    listAllInIdOrder();
    for (int row = 0; row < 3; ++row) {
        list().setItemText(row, kName, names[static_cast<std::size_t>(row)]);
        list().setItemText(row, kPrice, prices[static_cast<std::size_t>(row)]);
    }
    for (int row = 3; row < kRows; ++row) list().removeRow(3);
    clickHeader(kName);
    EXPECT_THAT(listColumn(kName), ElementsAre(names[1], names[0], names[2]));
    clickHeader(kPrice);
    EXPECT_THAT(listColumn(kPrice), ElementsAre("sh600887", gbk("12.5万"), " 13 "));
}

TEST_F(RecordsSortTest, ColoursFollowTheirRowsAfterASort) {
    std::map<std::string, ColourWord> expected;
    for (const auto& [id, colour] : backgroundsById()) expected[id] = colour;
    for (const auto& column : {kChange, kDate, kId}) {
        clickHeader(column, column != kDate);
        for (const auto& [id, colour] : backgroundsById()) EXPECT_EQ(colour, expected[id]) << id;
    }
    // The seeded changes give all three colours.
    EXPECT_EQ(expected["1"], kDefaultBackground);  // -0.50% reads as 0
    EXPECT_EQ(expected["2"], kGreenBackground);
    EXPECT_EQ(expected["3"], kTomatoBackground);
}

// Each case asks for its steps once one after another with nothing handled in between, and
// once with every step's result handled before the next: quick steps apply in the order
// asked, each on the list the step before left, so both give the same list, colours
// included. Codes end in 10 + id - 1: "1" finds ids 2, 12, 22 and 32.
TEST_F(RecordsSortTest, QuickStepsGiveTheListThatSlowStepsGive) {
    std::map<std::string, ColourWord> colourOf;
    for (const auto& [id, colour] : backgroundsById()) colourOf[id] = colour;
    std::vector<std::string> all;
    for (int id = 1; id <= kRows; ++id) all.push_back(std::to_string(id));
    const std::vector<std::string> found = {"2", "12", "22", "32"};
    const auto search = [&](const char* text) { return [this, text] { startSearch(text); }; };
    const auto sortBy = [&](int column, bool forward) {
        return [this, column, forward] { startHeaderClick(column, forward); };
    };
    const struct {
        const char* what;
        std::vector<std::function<void()>> steps;
        std::vector<std::string> ids;
    } cases[] = {
        {"a search after a search", {search("1"), search("11")}, {"2"}},
        {"a search after a header click", {sortBy(kId, false), search("1")}, found},
        {"two header clicks", {sortBy(kId, false), sortBy(kId, true)}, all},
        {"a header click after a search",
         {search("1"), sortBy(kId, false)},
         {"32", "22", "12", "2"}},
        // Ties keep the order the first click left: by price, then by date.
        {"clicks on two columns", {sortBy(kPrice, true), sortBy(kDate, false)}, {}},
        {"a delete between a search and a click",
         {search("1"), [this] { startDelete("12"); }, sortBy(kId, false)},
         {"32", "22", "2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        listAllInIdOrder();
        for (const auto& step : c.steps) step();
        settle();
        const std::vector<std::vector<std::string>> quick = allTexts();
        for (const auto& [id, colour] : backgroundsById()) EXPECT_EQ(colour, colourOf[id]) << id;
        if (!c.ids.empty()) {
            EXPECT_EQ(listColumn(kId), c.ids);
        }
        // The same steps again, slowly, on the store as the quick ones left it.
        listAllInIdOrder();
        for (const auto& step : c.steps) {
            step();
            settle();
        }
        EXPECT_EQ(allTexts(), quick);
    }
}

class EmptyRecordsSortTest : public RecordsWindowFixture {};

TEST_F(EmptyRecordsSortTest, AnEmptyListStaysEmpty) {
    window().recordsPage().单选框_正向->setChecked(true);
    for (int column = 0; column < 14; ++column) emit list().columnHeaderClicked(column);
    settle();
    EXPECT_EQ(list().rowCount(), 0);
    EXPECT_EQ(list().selectedRow(), -1);
}

TEST_F(EmptyRecordsSortTest, ReplacingAllRowsPadsShortRowsAndMayChangeTheirCount) {
    list().replaceAllRows({{{"1", "2020-08-07"}, 5}, {{"2"}, 0}});
    ASSERT_EQ(list().rowCount(), 2);
    EXPECT_EQ(list().itemText(0, kDate), "2020-08-07");
    EXPECT_EQ(list().itemValue(0), 5);
    EXPECT_EQ(list().itemText(1, 13), "");
    list().replaceAllRows({{{"3"}, 0}, {{"4"}, 0}});
    EXPECT_THAT(listColumn(kId), ElementsAre("3", "4"));
    list().replaceAllRows({});
    EXPECT_EQ(list().rowCount(), 0);
}

}  // namespace
}  // namespace quovella
