#include "app/holdings/holdings_page.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/window/page_layout.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"
#include "ui/timer.h"

namespace quovella {

namespace {

constexpr GridHeaderColumn kHoldingsHeader[] = {
    {"编号", 60},      {"购买日期", 120}, {"股票代码", 100}, {"股票名称", 120},
    {"购买股数", 80},  {"购买单价", 80},  {"总价", 100},     {"现价", 100},
    {"盈亏金额", 100}, {"盈亏率", 100},   {"更新时间", 180},
};

QDate qDate(const LocalDateTime& when) {
    return QDate(when.year, when.month, when.day);
}

}  // namespace

HoldingsPage::HoldingsPage(PageContext context, const QuoteSource& quotes, ParentWindow& parent,
                           QWidget* box)
    : QObject(&context.window), context_(context), revaluationWorker_(std::make_unique<Worker>()) {
    // The passes' fetches end with the page's own worker, and with nothing else.
    FetchOptions options = quotes.options();
    options.cancel = revaluationWorker_->cancelFlag();
    quotes_ = QuoteSource(quotes.baseUrl(), std::move(options));
    buildUnits(parent, box);
}

HoldingsPage::~HoldingsPage() {
    endBackgroundWork();
}

void HoldingsPage::buildUnits(ParentWindow& parent, QWidget* box) {
    日期框1 = new QDateEdit(box);
    placeOnPage(日期框1, 4, 32, 112, 24);
    日期框1->setMinimumDate(QDate(100, 1, 1));
    日期框1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    日期框1->setCalendarPopup(true);
    日期框1->setDate(qDate(context_.clock.now()));

    标签3 = label(box, "代码：");
    标签3->setGeometry(124, 8, 32, 24);
    编辑框_股票代码 = new QLineEdit(box);
    placeOnPage(编辑框_股票代码, 159, 34, 88, 20);
    标签4 = label(box, "名称：");
    标签4->setGeometry(245, 8, 32, 24);
    编辑框_股票名称 = new QLineEdit(box);
    placeOnPage(编辑框_股票名称, 279, 34, 88, 20);
    标签5 = label(box, "股数：");
    标签5->setGeometry(365, 8, 32, 24);
    编辑框_购买股数 = new QLineEdit(box);
    placeOnPage(编辑框_购买股数, 398, 34, 66, 20);
    setRedText(编辑框_购买股数);
    时钟_更新持有 = new Timer(1000, this);
    标签6 = label(box, "单价：");
    标签6->setGeometry(462, 8, 32, 24);
    编辑框_购买单价 = new QLineEdit(box);
    placeOnPage(编辑框_购买单价, 495, 34, 66, 20);
    setRedText(编辑框_购买单价);
    编辑框_持有ID = new QLineEdit(box);
    placeOnPage(编辑框_持有ID, 561, 34, 38, 20);
    编辑框_持有ID->setEnabled(false);
    按钮_添加持有 = button(box, "添加");
    placeOnPage(按钮_添加持有, 603, 26, 80, 32);
    按钮1 = button(box, "更新");
    placeOnPage(按钮1, 691, 26, 80, 32);

    超级列表框_持有数据 = new ListView(listColumns({{"序号", 50},
                                                    {"购买日期", 80},
                                                    {"股票代码", 80},
                                                    {"股票名称", 80},
                                                    {"购买股数", 80},
                                                    {"购买单价", 80},
                                                    {"总价", 80},
                                                    {"现价", 50},
                                                    {"盈亏金额", 80},
                                                    {"盈亏率(%)", 80},
                                                    {"更新时间", 180}}),
                                       &parent, box);
    placeOnPage(超级列表框_持有数据, 0, 64, 1156, 40);
    // The holdings grid lies over the never-filled strip, so its header row shows.
    高级表格_持有 = new Grid(box);
    高级表格_持有->setGeometry(-1, 40, 1152, 456);
    高级表格_持有->setColumnCount(5);
    高级表格_持有->setRowCount(5);
    高级表格_持有->setFixedRowCount(1);
    高级表格_持有->setFixedColumnCount(1);
    高级表格_持有->setWholeRowSelection(true);
}

void HoldingsPage::prepareHoldingsGridHeader() {
    Grid& grid = *高级表格_持有;
    grid.setColumnCount(11);
    grid.setRowCount(1);
    writeHeaderRow(grid, kHoldingsHeader);
    // Cut to the cells that exist: only the header row is centred.
    grid.setAlignment({0, 0, 150, 10}, kAlignCentre);
}

void HoldingsPage::copyHoldingFromGrid() {
    const Grid& grid = *高级表格_持有;
    const int r = grid.currentRow();
    const auto cell = [&](int column) { return toQt(grid.cellText(r, column).value_or("")); };
    日期框1->setDate(qDate(dateFromText(grid.cellText(r, holdingColumn::date).value_or(""))));
    编辑框_股票代码->setText(cell(holdingColumn::code));
    编辑框_股票名称->setText(cell(holdingColumn::name));
    编辑框_购买股数->setText(cell(holdingColumn::shares));
    编辑框_购买单价->setText(cell(holdingColumn::price));
    编辑框_持有ID->setText(cell(holdingColumn::id));
}

void HoldingsPage::copyHoldingFromList() {
    const ListView& list = *超级列表框_持有数据;
    // The selection is read afresh for every field.
    const auto item = [&](int column) { return toQt(list.itemText(list.selectedRow(), column)); };
    编辑框_持有ID->setText(item(holdingColumn::id));
    编辑框_股票代码->setText(item(holdingColumn::code));
    编辑框_股票名称->setText(item(holdingColumn::name));
    编辑框_购买股数->setText(item(holdingColumn::shares));
    编辑框_购买单价->setText(item(holdingColumn::price));
    日期框1->setDate(qDate(dateFromText(list.itemText(list.selectedRow(), holdingColumn::date))));
}

void HoldingsPage::endBackgroundWork() {
    revaluationWorker_->shutdown();
}

}  // namespace quovella
