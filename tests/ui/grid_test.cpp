#include "ui/grid.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/gbk.h"
#include "ui/ui_events.h"

namespace quovella {
namespace {

using testing::click;
using testing::doubleClick;

constexpr ColourWord kRed = colourWord(255, 0, 0);

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        grid.resize(800, 300);
        grid.setColumnCount(11);
        grid.setRowCount(5);
        grid.setFixedRowCount(1);
        grid.setFixedColumnCount(1);
        grid.show();
    }
    QPoint centreOf(int row, int column) const { return grid.cellRect(row, column).center(); }
    QPoint inView(int row, int column) const {
        return grid.inputWidget()->mapFrom(&grid, centreOf(row, column));
    }

    Grid grid;
};

TEST_F(GridTest, CellsOutsideTheGridReadAsMissingAndIgnoreWrites) {
    grid.setCellText(1, 2, gbk("伊利股份"));
    EXPECT_EQ(grid.cellText(1, 2), gbk("伊利股份"));
    EXPECT_EQ(grid.cellText(4, 10), "");
    for (const auto& [row, column] :
         std::vector<std::pair<int, int>>{{5, 0}, {0, 11}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(grid.cellText(row, column), std::nullopt) << row << "," << column;
        grid.setCellText(row, column, "x");
    }
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.columnCount(), 11);
}

TEST_F(GridTest, RowsAreAppendedDeletedAndClearedWithoutChangingOtherCounts) {
    for (int r = 0; r < 5; ++r) grid.setCellText(r, 1, std::to_string(r));
    EXPECT_EQ(grid.appendRow(), 5);
    EXPECT_EQ(grid.cellText(5, 1), "");
    grid.deleteRow(2);
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.cellText(2, 1), "3");
    grid.deleteRow(9);
    EXPECT_EQ(grid.rowCount(), 5);
    grid.clearCells();
    EXPECT_EQ(grid.rowCount(), 5);
    EXPECT_EQ(grid.columnCount(), 11);
    EXPECT_EQ(grid.cellText(0, 1), "");
}

TEST_F(GridTest, ColourAndAlignmentRangesAreCutToExistingCells) {
    grid.setTextColour({1, 3, 100, 100}, kRed);
    EXPECT_EQ(grid.cellTextColour(1, 3), kRed);
    EXPECT_EQ(grid.cellTextColour(4, 10), kRed);
    EXPECT_LE(grid.cellTextColour(0, 3), 0);
    EXPECT_LE(grid.cellTextColour(1, 2), 0);

    grid.setRowCount(1);
    grid.setAlignment({0, 0, 150, 10}, kAlignCentre);
    const int added = grid.appendRow();
    for (int c = 0; c < 11; ++c) EXPECT_EQ(grid.cellAlignment(0, c), kAlignCentre) << c;
    EXPECT_EQ(grid.cellAlignment(added, 0), 0);

    grid.setAlignment({7, 0, 9, 3}, kAlignRight);  // wholly outside: nothing
    grid.setAlignment({-3, -3, 0, 0}, kAlignRight);
    EXPECT_EQ(grid.cellAlignment(0, 0), kAlignRight);
    EXPECT_EQ(grid.cellAlignment(0, 1), kAlignCentre);
}

TEST_F(GridTest, SizesApplyToEveryRowAndColumnIncludingLaterOnes) {
    grid.setDefaultRowHeight(30);
    grid.setDefaultColumnWidth(60);
    grid.setColumnWidth(2, 85);
    grid.setColumnWidth(20, 85);
    grid.appendRow();
    grid.setColumnCount(13);
    EXPECT_EQ(grid.rowHeight(0), 30);
    EXPECT_EQ(grid.rowHeight(5), 30);
    EXPECT_EQ(grid.columnWidth(1), 60);
    EXPECT_EQ(grid.columnWidth(2), 85);
    EXPECT_EQ(grid.columnWidth(12), 60);
}

TEST_F(GridTest, AClickOnADataCellSelectsItsWholeRowAndMovesTheCurrentCell) {
    EXPECT_EQ(grid.currentRow(), -1);
    EXPECT_EQ(grid.currentColumn(), -1);
    EXPECT_EQ(grid.selectedRange(), (GridRange{-1, -1, -1, -1}));
    std::vector<std::pair<int, int>> changes;
    QObject::connect(&grid, &Grid::currentCellChanged,
                     [&](int row, int column) { changes.emplace_back(row, column); });

    click(grid.inputWidget(), inView(2, 4));
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 4);
    EXPECT_EQ(grid.selectedRange(), (GridRange{2, 1, 2, 10}));

    click(grid.inputWidget(), inView(2, 4));  // same cell: no change
    click(grid.inputWidget(), inView(2, 6));  // same row, other column: a change
    click(grid.inputWidget(), inView(0, 6));  // fixed cells are not selectable
    click(grid.inputWidget(), inView(3, 0));
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{2, 4}, {2, 6}}));
    EXPECT_EQ(grid.selectedRange(), (GridRange{2, 1, 2, 10}));

    grid.setRowCount(2);  // the selected row is gone
    EXPECT_EQ(grid.selectedRange(), (GridRange{-1, -1, -1, -1}));
    EXPECT_EQ(grid.currentRow(), -1);
}

TEST_F(GridTest, ProgrammaticSelectionIsCutAndRaisesNoEvent) {
    int changes = 0;
    QObject::connect(&grid, &Grid::currentCellChanged, [&] { ++changes; });
    grid.setCurrentCell(0, 3);
    grid.selectRange({3, 2, 99, 99});
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.currentColumn(), 3);
    EXPECT_EQ(grid.selectedRange(), (GridRange{3, 2, 4, 10}));
    grid.setCurrentCell(7, 1);
    EXPECT_EQ(grid.currentRow(), -1);
    EXPECT_EQ(changes, 0);
}

TEST_F(GridTest, ArrowKeysMoveTheCurrentCellWithinTheDataCells) {
    std::vector<std::pair<int, int>> changes;
    QObject::connect(&grid, &Grid::currentCellChanged,
                     [&](int row, int column) { changes.emplace_back(row, column); });
    click(grid.inputWidget(), inView(4, 9));
    testing::pressKey(grid.inputWidget(), Qt::Key_Down);  // already the last row
    testing::pressKey(grid.inputWidget(), Qt::Key_Right);
    testing::pressKey(grid.inputWidget(), Qt::Key_Right);  // already the last column
    testing::pressKey(grid.inputWidget(), Qt::Key_Up);
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{4, 9}, {4, 10}, {3, 10}}));
    EXPECT_EQ(grid.selectedRange(), (GridRange{3, 1, 3, 10}));

    // Only the header row left, with a header cell current: there is nowhere to go.
    grid.setRowCount(1);
    grid.setCurrentCell(0, 3);
    changes.clear();
    testing::pressKey(grid.inputWidget(), Qt::Key_Down);
    testing::pressKey(grid.inputWidget(), Qt::Key_Left);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.currentColumn(), 3);
}

TEST_F(GridTest, DoubleClickAndReleaseReportGridCoordinatesAndKeys) {
    std::vector<std::tuple<char, int, int, int>> events;
    QObject::connect(&grid, &Grid::doubleClicked,
                     [&](int x, int y, int keys) { events.emplace_back('d', x, y, keys); });
    QObject::connect(&grid, &Grid::leftButtonReleased,
                     [&](int x, int y, int keys) { events.emplace_back('r', x, y, keys); });
    const QPoint at = centreOf(1, 1);
    doubleClick(grid.inputWidget(), inView(1, 1), Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], std::make_tuple('r', at.x(), at.y(), 5));
    EXPECT_EQ(events[1], std::make_tuple('d', at.x(), at.y(), 5));
    EXPECT_EQ(grid.selectedRange(), (GridRange{1, 1, 1, 10}));
}

}  // namespace
}  // namespace quovella
