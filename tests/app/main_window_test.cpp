#include <gtest/gtest.h>

#include <QDateEdit>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>

#include "app/window_fixture.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/tab_control.h"
#include "ui/timer.h"
#include "ui/ui_events.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QRect& r, std::ostream* out) {
    *out << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
QT_END_NAMESPACE

namespace quovella {
namespace {

using testing::WindowFixture;

class MainWindowTest : public WindowFixture {
  protected:
    std::string text(const QLineEdit* edit) const { return fromQt(edit->text()); }
    std::string placeholder(const QLineEdit* edit) const { return fromQt(edit->placeholderText()); }
    QDate date() const { return window_->holdingsPage().日期框1->date(); }
    void fillHoldingsRow(int row, const char* date, const char* code) {
        Grid& grid = *window_->holdingsPage().高级表格_持有;
        const std::string texts[] = {std::to_string(row), date,  code,
                                     gbk("伊利股份"),     "100", "9.87"};
        for (int c = 0; c < 6; ++c) grid.setCellText(row, c, texts[c]);
    }
};

TEST_F(MainWindowTest, EveryUnitSitsWhereTheWindowDefinitionPutsIt) {
    MainWindow& w = window();
    enum Relative { Window, Tab, Box2, Box3 };
    struct Expected {
        const char* name;
        QWidget* unit;
        Relative relative;
        QRect geometry;
    };
    const Expected table[] = {
        {"高级选择夹1", w.高级选择夹1, Window, {0, 0, 1160, 528}},
        {"图片框1", w.图片框1, Tab, {3, 24, 1157, 504}},
        {"图片框2", w.图片框2, Tab, {3, 24, 1157, 504}},
        {"图片框3", w.图片框3, Tab, {3, 24, 1157, 504}},
        {"按钮_添加", w.watchPage().按钮_添加, Tab, {8, 28, 80, 32}},
        {"按钮_删除", w.watchPage().按钮_删除, Tab, {101, 28, 80, 32}},
        {"标签2", w.watchPage().标签2, Tab, {232, 29, 120, 24}},
        {"滑块条_刷新时间", w.watchPage().滑块条_刷新时间, Tab, {354, 27, 144, 31}},
        {"标签1", w.watchPage().标签1, Tab, {512, 29, 72, 24}},
        {"滑块条_透明度", w.watchPage().滑块条_透明度, Tab, {589, 27, 144, 31}},
        {"高级表格_股票", w.watchPage().高级表格_股票, Tab, {3, 72, 1149, 448}},
        {"编辑框_条件", w.recordsPage().编辑框_条件, Tab, {8, 33, 112, 28}},
        {"按钮_搜索", w.recordsPage().按钮_搜索, Tab, {132, 32, 80, 28}},
        {"单选框_正向", w.recordsPage().单选框_正向, Box2, {229, 10, 80, 24}},
        {"单选框_逆向", w.recordsPage().单选框_逆向, Box2, {317, 10, 80, 24}},
        {"按钮_删除选中", w.recordsPage().按钮_删除选中, Tab, {456, 32, 80, 28}},
        {"编辑框_选中ID", w.recordsPage().编辑框_选中ID, Tab, {544, 32, 56, 28}},
        {"超级列表框_数据表", w.recordsPage().超级列表框_数据表, Tab, {4, 64, 1156, 463}},
        {"日期框1", w.holdingsPage().日期框1, Tab, {4, 32, 112, 24}},
        {"标签3", w.holdingsPage().标签3, Box3, {124, 8, 32, 24}},
        {"编辑框_股票代码", w.holdingsPage().编辑框_股票代码, Tab, {159, 34, 88, 20}},
        {"标签4", w.holdingsPage().标签4, Box3, {245, 8, 32, 24}},
        {"编辑框_股票名称", w.holdingsPage().编辑框_股票名称, Tab, {279, 34, 88, 20}},
        {"标签5", w.holdingsPage().标签5, Box3, {365, 8, 32, 24}},
        {"编辑框_购买股数", w.holdingsPage().编辑框_购买股数, Tab, {398, 34, 66, 20}},
        {"标签6", w.holdingsPage().标签6, Box3, {462, 8, 32, 24}},
        {"编辑框_购买单价", w.holdingsPage().编辑框_购买单价, Tab, {495, 34, 66, 20}},
        {"编辑框_持有ID", w.holdingsPage().编辑框_持有ID, Tab, {561, 34, 38, 20}},
        {"按钮_添加持有", w.holdingsPage().按钮_添加持有, Tab, {603, 26, 80, 32}},
        {"按钮1", w.holdingsPage().按钮1, Tab, {691, 26, 80, 32}},
        {"高级表格_持有", w.holdingsPage().高级表格_持有, Box3, {-1, 40, 1152, 456}},
        {"超级列表框_持有数据", w.holdingsPage().超级列表框_持有数据, Tab, {0, 64, 1156, 40}},
        {"状态条1", w.状态条1, Window, {0, 513, 1162, 20}},
    };
    for (const Expected& e : table) {
        const QWidget* reference = e.relative == Window ? static_cast<QWidget*>(&w)
                                   : e.relative == Tab  ? static_cast<QWidget*>(w.高级选择夹1)
                                   : e.relative == Box2 ? w.图片框2
                                                        : w.图片框3;
        const QRect actual(e.unit->mapTo(reference, QPoint(0, 0)), e.unit->size());
        EXPECT_EQ(actual, e.geometry) << e.name;
    }
    EXPECT_EQ(w.size(), QSize(1162, 533));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());  // not resizable
    EXPECT_EQ(fromQt(w.windowTitle()), "Quovella_V20200827");
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(MainWindowTest, TheWindowIsCentredByItsOuterSize) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window().pos(), QPoint(screen.x() + (screen.width() - 1168) / 2,
                                     screen.y() + (screen.height() - 580) / 2));
}

TEST_F(MainWindowTest, EveryCaptionAndListColumnReadsAsTheWindowDefinitionSays) {
    MainWindow& w = window();
    const std::pair<const QAbstractButton*, const char*> buttons[] = {
        {w.watchPage().按钮_添加, "添加股票代码"}, {w.watchPage().按钮_删除, "删除选中行"},
        {w.recordsPage().按钮_搜索, "搜索"},       {w.recordsPage().单选框_正向, "正向排序"},
        {w.recordsPage().单选框_逆向, "逆向排序"}, {w.recordsPage().按钮_删除选中, "删除选中"},
        {w.holdingsPage().按钮_添加持有, "添加"},  {w.holdingsPage().按钮1, "更新"},
    };
    for (const auto& [button, caption] : buttons) {
        EXPECT_EQ(fromQt(button->text()), gbk(caption)) << caption;
    }
    const std::pair<const QLabel*, const char*> labels[] = {
        {w.watchPage().标签1, "窗口透明度："}, {w.holdingsPage().标签3, "代码："},
        {w.holdingsPage().标签4, "名称："},    {w.holdingsPage().标签5, "股数："},
        {w.holdingsPage().标签6, "单价："},
    };
    for (const auto& [label, caption] : labels) {
        EXPECT_EQ(fromQt(label->text()), gbk(caption)) << caption;
    }
    const QTabBar& tabs = *w.高级选择夹1->tabBar();
    const char* pages[] = {"监视", "数据", "持有"};
    for (int page = 0; page < 3; ++page) EXPECT_EQ(fromQt(tabs.tabText(page)), gbk(pages[page]));

    struct Column {
        const char* caption;
        int width;
    };
    const auto expectColumns = [](const ListView& list, std::vector<Column> columns) {
        ASSERT_EQ(list.columnCount(), static_cast<int>(columns.size()));
        for (int c = 0; c < list.columnCount(); ++c) {
            EXPECT_EQ(list.columnCaption(c), gbk(columns[static_cast<std::size_t>(c)].caption))
                << c;
            EXPECT_EQ(list.columnWidth(c), columns[static_cast<std::size_t>(c)].width) << c;
        }
    };
    expectColumns(*w.recordsPage().超级列表框_数据表, {{"序号", 40},
                                                       {"日期", 80},
                                                       {"股票代码", 80},
                                                       {"股票名称", 80},
                                                       {"今开盘价", 80},
                                                       {"昨收盘价", 80},
                                                       {"当前价格", 80},
                                                       {"最高价", 80},
                                                       {"最低价", 80},
                                                       {"成交量", 90},
                                                       {"成交金额", 90},
                                                       {"涨跌%", 80},
                                                       {"时间", 130},
                                                       {"盈亏金额", 80}});
    expectColumns(*w.holdingsPage().超级列表框_持有数据, {{"序号", 50},
                                                          {"购买日期", 80},
                                                          {"股票代码", 80},
                                                          {"股票名称", 80},
                                                          {"购买股数", 80},
                                                          {"购买单价", 80},
                                                          {"总价", 80},
                                                          {"现价", 50},
                                                          {"盈亏金额", 80},
                                                          {"盈亏率(%)", 80},
                                                          {"更新时间", 180}});
}

TEST_F(MainWindowTest, TabsAndStatusPanesHaveTheirCaptionsWidthsAndInitialTexts) {
    TabControl& tabs = *window().高级选择夹1;
    ASSERT_EQ(tabs.pageCount(), 3);
    EXPECT_EQ(tabs.tabBar()->font().pixelSize(), 12);
    const StatusBar& bar = *window().状态条1;
    const int widths[] = {50, 80, 50, 150, 50, 500, 60, 222};
    const char* texts[] = {"数据库：", "", "时间：",     "",
                           "日志：",   "", "关于软件：", "---->>有意见可以点这里"};
    int left = 0;
    for (int pane = 0; pane < 8; ++pane) {
        EXPECT_EQ(bar.paneRect(pane), QRect(left, 0, widths[pane], 20)) << pane;
        EXPECT_EQ(bar.paneText(pane), gbk(texts[pane])) << pane;
        left += widths[pane];
    }
}

TEST_F(MainWindowTest, StartUpLeavesTheControlsInTheirInitialState) {
    MainWindow& w = window();
    const Grid& holdings = *w.holdingsPage().高级表格_持有;
    ASSERT_EQ(holdings.rowCount(), 1);
    ASSERT_EQ(holdings.columnCount(), 11);
    const char* captions[] = {"编号", "购买日期", "股票代码", "股票名称", "购买股数", "购买单价",
                              "总价", "现价",     "盈亏金额", "盈亏率",   "更新时间"};
    const int widths[] = {60, 120, 100, 120, 80, 80, 100, 100, 100, 100, 180};
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(holdings.cellText(0, c), gbk(captions[c])) << c;
        EXPECT_EQ(holdings.columnWidth(c), widths[c]) << c;
        EXPECT_EQ(holdings.cellAlignment(0, c), kAlignCentre) << c;
    }
    EXPECT_EQ(holdings.rowHeight(0), 24);
    const int later = w.holdingsPage().高级表格_持有->appendRow();
    EXPECT_NE(w.holdingsPage().高级表格_持有->cellAlignment(later, 0), kAlignCentre);

    EXPECT_FALSE(w.recordsPage().按钮_删除选中->isEnabled());
    EXPECT_FALSE(w.recordsPage().编辑框_选中ID->isEnabled());
    EXPECT_FALSE(w.holdingsPage().编辑框_持有ID->isEnabled());
    EXPECT_TRUE(w.recordsPage().单选框_正向->isChecked());
    EXPECT_FALSE(w.recordsPage().单选框_逆向->isChecked());
    EXPECT_EQ(fromQt(w.watchPage().标签2->text()), gbk("自动刷新时间(1秒)："));
    EXPECT_EQ(w.watchPage().时钟_刷新周期->interval(), 1000);
    EXPECT_EQ(w.recordsPage().时钟1->interval(), 1000);
    EXPECT_EQ(w.holdingsPage().时钟_更新持有->interval(), 1000);
    EXPECT_EQ(w.watchPage().滑块条_刷新时间->position(), 1);
    EXPECT_EQ(w.watchPage().滑块条_透明度->position(), 10);
    EXPECT_DOUBLE_EQ(w.windowOpacity(), 1.0);
    EXPECT_EQ(placeholder(w.holdingsPage().编辑框_股票代码), gbk("股票代码"));
    EXPECT_EQ(placeholder(w.holdingsPage().编辑框_股票名称), gbk("股票名称"));
    EXPECT_EQ(placeholder(w.holdingsPage().编辑框_购买股数), gbk("购买股数"));
    EXPECT_EQ(placeholder(w.holdingsPage().编辑框_购买单价), gbk("购买单价"));
    EXPECT_EQ(placeholder(w.recordsPage().编辑框_条件), gbk("股票代码/名称"));
    EXPECT_EQ(date(), QDate(2020, 8, 28));
    EXPECT_EQ(w.状态条1->paneText(1), "");  // no "gp.mdb" here
    EXPECT_TRUE(dialogs_.shown().empty());
    ASSERT_NE(state_.store, nullptr);
    EXPECT_FALSE(state_.store->store().isOpen());
    EXPECT_FALSE(state_.refreshBusy);
}

TEST_F(MainWindowTest, APressInTheLastPaneOpensTheAboutWindow) {
    QWidget* bar = window().状态条1;
    testing::press(bar, QPoint(942, 5));
    EXPECT_EQ(aboutOpened_, 0);
    testing::press(bar, QPoint(1000, 20));
    EXPECT_EQ(aboutOpened_, 0);
    testing::press(bar, QPoint(943, 5));
    EXPECT_EQ(aboutOpened_, 1);
}

TEST_F(MainWindowTest, TheClockWritesTheTimestampIntoPaneThree) {
    emit window().recordsPage().时钟1->tick();
    EXPECT_EQ(window().状态条1->paneText(3), "2020-08-28  00:00:00");
    clock_.set({2020, 10, 5, 9, 5, 3});
    emit window().recordsPage().时钟1->tick();
    EXPECT_EQ(window().状态条1->paneText(3), "2020-10-05  09:05:03");
}

TEST_F(MainWindowTest, EscClosesTheWindowAfterStoppingTheTimersInOrder) {
    MainWindow& w = window();
    std::vector<std::string> stopped;
    QPointer<QPushButton> control = w.watchPage().按钮_添加;
    const auto watch = [&](Timer* timer, const char* name) {
        QObject::connect(timer, &Timer::intervalChanged, [&, name](int ms) {
            if (ms == 0 && control != nullptr && control->isVisible()) stopped.push_back(name);
        });
    };
    watch(w.watchPage().时钟_刷新周期, "时钟_刷新周期");
    watch(w.holdingsPage().时钟_更新持有, "时钟_更新持有");
    watch(w.recordsPage().时钟1, "时钟1");
    testing::pressKey(w.holdingsPage().按钮1, Qt::Key_Return);  // Enter changes nothing
    EXPECT_TRUE(w.isVisible());
    testing::pressKey(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(stopped, (std::vector<std::string>{"时钟_刷新周期", "时钟_更新持有", "时钟1"}));
}

TEST_F(MainWindowTest, TheUpdateButtonDoesNothing) {
    const std::string before = window().状态条1->paneText(1);
    window().holdingsPage().按钮1->click();
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(dialogs_.shown().empty());
    EXPECT_EQ(aboutOpened_, 0);
    EXPECT_EQ(window().状态条1->paneText(1), before);
    EXPECT_EQ(window().holdingsPage().高级表格_持有->rowCount(), 1);
}

TEST_F(MainWindowTest, MovingTheHoldingsGridsCurrentCellCopiesItsRow) {
    Grid& grid = *window().holdingsPage().高级表格_持有;
    grid.setRowCount(3);
    fillHoldingsRow(1, "2020-08-07", "sh600887");
    fillHoldingsRow(2, "not a date", "sz000001");
    const auto clickCell = [&](int row, int column) {
        testing::click(grid.inputWidget(),
                       grid.inputWidget()->mapFrom(&grid, grid.cellRect(row, column).center()));
    };
    clickCell(1, 3);
    EXPECT_EQ(date(), QDate(2020, 8, 7));
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票代码), "sh600887");
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票名称), gbk("伊利股份"));
    EXPECT_EQ(text(window().holdingsPage().编辑框_购买股数), "100");
    EXPECT_EQ(text(window().holdingsPage().编辑框_购买单价), "9.87");
    EXPECT_EQ(text(window().holdingsPage().编辑框_持有ID), "1");

    window().holdingsPage().编辑框_股票代码->clear();
    clickCell(1, 5);  // same row, other column: copied again
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票代码), "sh600887");

    clickCell(2, 2);
    EXPECT_EQ(date(), QDate(100, 1, 1));
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票代码), "sz000001");
}

TEST_F(MainWindowTest, TheHeaderRowIsCopiedLikeAnyOtherRow) {
    Grid& grid = *window().holdingsPage().高级表格_持有;
    grid.setFixedRowCount(0);  // let a click make row 0 current
    testing::click(grid.inputWidget(),
                   grid.inputWidget()->mapFrom(&grid, grid.cellRect(0, 4).center()));
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票代码), gbk("股票代码"));
    EXPECT_EQ(text(window().holdingsPage().编辑框_购买单价), gbk("购买单价"));
    EXPECT_EQ(text(window().holdingsPage().编辑框_持有ID), gbk("编号"));
    EXPECT_EQ(date(), QDate(100, 1, 1));
}

TEST_F(MainWindowTest, AClickInTheHoldingsListCopiesTheSelectedRowOrEmptyTexts) {
    ListView& list = *window().holdingsPage().超级列表框_持有数据;
    const int row = list.appendRow();
    const char* texts[] = {"3", "2020-08-07", "sh600519", "贵州茅台", "200", "1650.5"};
    for (int c = 0; c < 6; ++c) list.setItemText(row, c, gbk(texts[c]));
    window()
        .holdingsPage()
        .高级表格_持有->lower();  // the strip lies under the grid; bring it in reach
    window().holdingsPage().超级列表框_持有数据->raise();
    testing::click(list.inputWidget(), list.rowRect(row).center());
    EXPECT_EQ(text(window().holdingsPage().编辑框_持有ID), "3");
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票代码), "sh600519");
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票名称), gbk("贵州茅台"));
    EXPECT_EQ(text(window().holdingsPage().编辑框_购买股数), "200");
    EXPECT_EQ(text(window().holdingsPage().编辑框_购买单价), "1650.5");
    EXPECT_EQ(date(), QDate(2020, 8, 7));

    emit list.rowClicked();  // nothing selected any more
    list.removeAllRows();
    emit list.rowClicked();
    EXPECT_EQ(text(window().holdingsPage().编辑框_持有ID), "");
    EXPECT_EQ(text(window().holdingsPage().编辑框_股票代码), "");
    EXPECT_EQ(text(window().holdingsPage().编辑框_购买单价), "");
    EXPECT_EQ(date(), QDate(100, 1, 1));
}

}  // namespace
}  // namespace quovella
