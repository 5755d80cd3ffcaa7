#include "ui/list_model.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTableView>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "ui/grid_model.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"

namespace quovella {
namespace {

TextTable numberedRows(int rows, int columns) {
    TextTable table(columns);
    for (int r = 0; r < rows; ++r) {
        table.appendRow({std::to_string(r), gbk("伊利股份"), "12.34", "-1.23"}, 1000 + r);
    }
    return table;
}

// Counts the model's change signals by kind.
struct Changes {
    explicit Changes(ListModel& model) {
        QObject::connect(&model, &ListModel::modelReset, [this] { ++resets; });
        QObject::connect(&model, &ListModel::dataChanged, [this] { ++cellChanges; });
        QObject::connect(&model, &ListModel::rowsInserted,
                         [this](const QModelIndex&, int first, int last) {
                             inserted.push_back({first, last});
                         });
    }
    int resets = 0;
    int cellChanges = 0;
    std::vector<std::pair<int, int>> inserted;
};

class ListModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model.setColumns({{"a", 10}, {"b", 10}, {"c", 10}});
        model.replaceRows(numberedRows(3, 4));
    }
    std::vector<std::string> column(int c) const {
        std::vector<std::string> texts;
        for (int r = 0; r < model.rowCount(); ++r) texts.emplace_back(model.text(r, c));
        return texts;
    }

    ListModel model;
};

TEST_F(ListModelTest, TablesOfOtherWidthsAreFittedAndKeepTheirItemValues) {
    EXPECT_EQ(model.text(2, 2), "12.34");
    EXPECT_EQ(model.text(2, 3), "");
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(),
              QString::fromUtf8("伊利股份"));
    Changes changes(model);
    model.appendRows(numberedRows(2, 1));
    EXPECT_EQ(changes.inserted, (std::vector<std::pair<int, int>>{{3, 4}}));
    EXPECT_EQ(column(1), (std::vector<std::string>{gbk("伊利股份"), gbk("伊利股份"),
                                                   gbk("伊利股份"), "", ""}));
    model.setColumns({{"a", 10}, {"b", 10}});
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.table().columnCount(), 2);
    EXPECT_EQ(model.itemValue(4), 1001);
    EXPECT_EQ(model.findInFirstColumn("1"), 1);
}

// A megabyte in one cell would be laid out on every paint: both models show only its start,
// cut between characters, and keep the whole text.
TEST(ShownText, AHugeCellShowsItsStartAndKeepsItsText) {
    std::string huge = "a";
    for (int i = 0; i < 300000; ++i) huge += gbk("中");
    std::string shown = "a";
    for (int i = 0; i < 2048; ++i) shown += gbk("中");
    ListModel list;
    list.setColumns({{"a", 10}});
    TextTable table(1);
    table.appendRow({huge}, 1);
    list.replaceRows(std::move(table));
    GridModel grid;
    grid.resize(2, 1);
    grid.setText(1, 0, huge);
    EXPECT_EQ(list.data(list.index(0, 0), Qt::DisplayRole).toString(), toQt(shown));
    EXPECT_EQ(list.text(0, 0), huge);
    EXPECT_EQ(grid.data(grid.index(1, 0), Qt::DisplayRole).toString(), toQt(shown));
    EXPECT_EQ(grid.data(grid.index(1, 0), Qt::EditRole).toString(), toQt(huge));
}

// The same row count is one change of every cell, not a reset; anything but a permutation
// of the rows changes nothing.
TEST_F(ListModelTest, PermutingOrReplacingTheSameRowCountIsACellChange) {
    Changes changes(model);
    model.permuteRows({2, 0, 1});
    EXPECT_EQ(column(0), (std::vector<std::string>{"2", "0", "1"}));
    EXPECT_EQ(model.itemValue(0), 1002);
    for (const auto& bad : std::initializer_list<std::vector<int>>{{0, 1}, {0, 0, 1}, {0, 1, 3}}) {
        model.permuteRows(bad);
    }
    EXPECT_EQ(column(0), (std::vector<std::string>{"2", "0", "1"}));
    model.replaceRows(numberedRows(3, 3));
    EXPECT_EQ(column(0), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(changes.cellChanges, 2);
    EXPECT_EQ(changes.resets, 0);
    model.replaceRows(numberedRows(4, 3));
    EXPECT_EQ(changes.resets, 1);
}

TEST(ListViewRows, PermutingOrReplacingAllRowsKeepsTheScrollPosition) {
    ListView list({{"a", 40}, {"b", 40}, {"c", 40}}, nullptr);
    list.resize(300, 200);
    list.show();
    list.replaceAllRows(numberedRows(1000, 3));
    QCoreApplication::processEvents();  // lays the rows out
    list.scrollToRow(700);
    QScrollBar* down = list.findChild<QTableView*>()->verticalScrollBar();
    const int scrolled = down->value();
    ASSERT_GT(scrolled, 0);
    std::vector<int> reversed(1000);
    for (int r = 0; r < 1000; ++r) reversed[static_cast<std::size_t>(r)] = 999 - r;
    list.permuteRows(reversed);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.itemText(0, 0), "999");
    EXPECT_EQ(list.itemValue(0), 1999);
    EXPECT_EQ(down->value(), scrolled);
    list.replaceAllRows(numberedRows(1000, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(list.itemText(0, 0), "0");
    EXPECT_EQ(down->value(), scrolled);
    EXPECT_EQ(list.rowCount(), 1000);
}

}  // namespace
}  // namespace quovella
