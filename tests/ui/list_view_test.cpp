#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>

#include "common/gbk.h"
#include "ui/ui_events.h"

namespace quovella {
namespace {

using testing::click;

std::vector<ListColumn> threeColumns() {
    return {{gbk("序号"), 40}, {gbk("日期"), 80}, {gbk("股票代码"), 80}};
}

class ListViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list.resize(400, 300);
        list.show();
    }
    int addRow(const std::string& id, const std::string& code) {
        const int row = list.appendRow();
        list.setItemText(row, 0, id);
        list.setItemText(row, 2, code);
        return row;
    }
    QPoint rowPoint(int row) const { return list.rowRect(row).center(); }

    ParentWindow parent{1};
    ListView list{threeColumns(), &parent};
};

TEST_F(ListViewTest, HeaderCaptionsAndWidthsComeFromTheColumnTable) {
    EXPECT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.columnCaption(2), gbk("股票代码"));
    EXPECT_EQ(list.columnWidth(0), 40);
    EXPECT_EQ(list.columnWidth(1), 80);
}

TEST_F(ListViewTest, MissingRowsAndColumnsReadAsEmptyText) {
    EXPECT_EQ(addRow("7", "sh600887"), 0);
    EXPECT_EQ(list.itemText(0, 2), "sh600887");
    EXPECT_EQ(list.itemText(0, 1), "");
    EXPECT_EQ(list.itemText(1, 0), "");
    EXPECT_EQ(list.itemText(-1, 0), "");
    EXPECT_EQ(list.itemText(0, 3), "");
    list.setItemText(5, 0, "x");
    list.setItemText(0, 9, "x");
    EXPECT_EQ(list.rowCount(), 1);
}

TEST_F(ListViewTest, RowsAreFoundByTheirFirstColumnAndItemValuesMoveWithThem) {
    for (int i = 0; i < 4; ++i) addRow(std::to_string(10 + i), "c");
    EXPECT_EQ(list.itemValue(3), 0);
    list.setItemValue(2, 42);
    list.removeRow(1);
    EXPECT_EQ(list.findRow("12"), 1);
    EXPECT_EQ(list.itemValue(1), 42);
    EXPECT_EQ(list.findRow("11"), -1);
    EXPECT_EQ(list.findRow("1"), -1);  // whole texts only
    list.removeAllRows();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.findRow("12"), -1);
}

TEST_F(ListViewTest, AHundredThousandRowsGoInAsOneBatch) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(100000);
    for (int i = 0; i < 100000; ++i) rows.push_back({std::to_string(i), "2020-08-28", "sz000001"});
    list.appendRows(std::move(rows));
    EXPECT_EQ(list.rowCount(), 100000);
    EXPECT_EQ(list.itemText(99999, 0), "99999");
    EXPECT_EQ(list.findRow("99999"), 99999);
    list.selectRow(99999);
    list.scrollToRow(99999);
    EXPECT_EQ(list.selectedRow(), 99999);
}

TEST_F(ListViewTest, ClicksSelectRowsAndAClickBelowTheLastRowClearsTheSelection) {
    addRow("1", "a");
    addRow("2", "b");
    std::vector<int> clicked;
    QObject::connect(&list, &ListView::rowClicked, [&] { clicked.push_back(list.selectedRow()); });
    EXPECT_EQ(list.selectedRow(), -1);
    click(list.inputWidget(), rowPoint(1));
    click(list.inputWidget(), QPoint(20, list.rowRect(1).bottom() + 40));
    EXPECT_EQ(clicked, (std::vector<int>{1, -1}));
    list.selectRow(0);
    EXPECT_EQ(list.selectedRow(), 0);
}

TEST_F(ListViewTest, AColumnHeaderClickReportsItsColumn) {
    std::vector<int> columns;
    QObject::connect(&list, &ListView::columnHeaderClicked, [&](int c) { columns.push_back(c); });
    auto* header = static_cast<QHeaderView*>(list.headerWidget());
    click(header->viewport(), QPoint(header->sectionPosition(1) + 10, header->height() / 2));
    EXPECT_EQ(columns, std::vector<int>{1});
}

// The parent procedure colours row 1's background; the painted list shows it.
TEST_F(ListViewTest, ColoursAnsweredByTheParentArePainted) {
    addRow("1", "a");
    addRow("2", "b");
    parent.replaceProcedure([](WindowHandle, unsigned, std::uintptr_t, std::intptr_t lParam) {
        auto* record = reinterpret_cast<CustomDrawRecord*>(lParam);
        if (record->drawStage == customdraw::kPrePaint) return customdraw::kNotifyItemDraw;
        if (record->item == 1) record->textBackground = colourWord(255, 99, 71);
        return customdraw::kDoDefault;
    });
    list.setTextBackground(colourWord(255, 255, 255));
    const QImage image = list.grab().toImage();
    const auto pixelAt = [&](int row) {
        const QPoint at = list.inputWidget()->mapTo(&list, QPoint(30, rowPoint(row).y()));
        return image.pixelColor(at * image.devicePixelRatio());
    };
    EXPECT_EQ(pixelAt(1), QColor(255, 99, 71));
    EXPECT_EQ(pixelAt(0), QColor(255, 255, 255));
}

}  // namespace
}  // namespace quovella
