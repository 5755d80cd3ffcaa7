#include "app/main_window.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

#include "common/job_queue.h"
#include "quotes/quote_exchange.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_text.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/tab_control.h"
#include "ui/timer.h"
#include "ui/window_placement.h"

namespace quovella {

namespace {

// Where the pages' picture boxes sit inside the tab control.
constexpr QRect kPageArea(3, 24, 1157, 504);

// Units whose position the layout gives relative to the tab control, placed in the page's
// picture box.
void placeOnPage(QWidget* unit, int left, int top, int width, int height) {
    unit->setGeometry(left - kPageArea.x(), top - kPageArea.y(), width, height);
}

QFont tabFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

QLabel* label(QWidget* box, const char* caption) {
    auto* unit = new QLabel(toQt(gbk(caption)), box);
    unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return unit;
}

QPushButton* button(QWidget* box, const char* caption) {
    return new QPushButton(toQt(gbk(caption)), box);
}

void setRedText(QLineEdit* edit) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, Qt::red);
    edit->setPalette(palette);
}

std::vector<ListColumn> listColumns(std::initializer_list<std::pair<const char*, int>> table) {
    std::vector<ListColumn> columns;
    for (const auto& [caption, width] : table) columns.push_back({gbk(caption), width});
    return columns;
}

}  // namespace

MainWindow::MainWindow(AppState& state, std::string runDirectory, std::string quoteBaseUrl,
                       WindowServices services, QWidget* parent)
    : QWidget(parent),
      state_(state),
      runDirectory_(std::move(runDirectory)),
      quoteBaseUrl_(std::move(quoteBaseUrl)),
      parentWindow_(reinterpret_cast<WindowHandle>(this)) {
    if (services.dialogs == nullptr) ownDialogs_ = std::make_unique<QtDialogs>();
    if (services.clock == nullptr) ownClock_ = std::make_unique<SystemClock>();
    dialogs_ = services.dialogs != nullptr ? services.dialogs : ownDialogs_.get();
    clock_ = services.clock != nullptr ? services.clock : ownClock_.get();
    fetchOptions_ = services.fetchOptions;
    exchange_ = std::make_unique<QuoteExchange>(quoteBaseUrl_, fetchOptions_);
    recordsJobs_ = std::make_unique<JobQueue>();

    setWindowTitle(QStringLiteral("Quovella_V20200827"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    centreOnScreen(*this, kOuterWidth, kOuterHeight);

    高级选择夹1 = new TabControl(kPageArea, this);
    高级选择夹1->setGeometry(0, 0, 1160, 528);
    高级选择夹1->tabBar()->setFont(tabFont());
    图片框1 = 高级选择夹1->addPage(gbk("监视"));
    图片框2 = 高级选择夹1->addPage(gbk("数据"));
    图片框3 = 高级选择夹1->addPage(gbk("持有"));
    buildWatchPage();
    buildRecordsPage();
    buildHoldingsPage();
    buildStatusBar();

    wireEvents();
    emit created();
}

MainWindow::~MainWindow() {
    // No worker may post into a window that is going.
    endBackgroundWork();
    // The parent window the colouring hook answers for dies with this window.
    if (state_.colourHook) state_.colourHook->detach();
}

void MainWindow::setAboutWindowOpener(std::function<void(QWidget*)> opener) {
    aboutOpener_ = std::move(opener);
}

void MainWindow::buildWatchPage() {
    QWidget* box = 图片框1;
    按钮_添加 = button(box, "添加股票代码");
    placeOnPage(按钮_添加, 8, 28, 80, 32);
    按钮_删除 = button(box, "删除选中行");
    placeOnPage(按钮_删除, 101, 28, 80, 32);
    时钟_刷新周期 = new Timer(0, this);
    refreshPause_ = new QTimer(this);
    refreshPause_->setSingleShot(true);
    refreshPause_->setTimerType(Qt::PreciseTimer);
    connect(refreshPause_, &QTimer::timeout, this, [this] {
        ++refreshRow_;
        refreshNextRow();
    });
    标签2 = label(box, "自动刷新时间(秒)：");
    placeOnPage(标签2, 232, 29, 120, 24);
    滑块条_刷新时间 = new Slider(1, 10, 1, box);
    placeOnPage(滑块条_刷新时间, 354, 27, 144, 31);
    标签1 = label(box, "窗口透明度：");
    placeOnPage(标签1, 512, 29, 72, 24);
    滑块条_透明度 = new Slider(1, 10, 1, box);
    placeOnPage(滑块条_透明度, 589, 27, 144, 31);

    高级表格_股票 = new Grid(box);
    placeOnPage(高级表格_股票, 3, 72, 1149, 448);
    高级表格_股票->setColumnCount(11);
    高级表格_股票->setRowCount(5);
    高级表格_股票->setFixedRowCount(1);
    高级表格_股票->setFixedColumnCount(1);
    高级表格_股票->setWholeRowSelection(true);
}

void MainWindow::buildRecordsPage() {
    QWidget* box = 图片框2;
    编辑框_条件 = new QLineEdit(box);
    placeOnPage(编辑框_条件, 8, 33, 112, 28);
    按钮_搜索 = button(box, "搜索");
    placeOnPage(按钮_搜索, 132, 32, 80, 28);
    单选框_正向 = new QRadioButton(toQt(gbk("正向排序")), box);
    单选框_正向->setGeometry(229, 10, 80, 24);
    单选框_逆向 = new QRadioButton(toQt(gbk("逆向排序")), box);
    单选框_逆向->setGeometry(317, 10, 80, 24);
    按钮_删除选中 = button(box, "删除选中");
    placeOnPage(按钮_删除选中, 456, 32, 80, 28);
    时钟1 = new Timer(1000, this);

    编辑框_选中ID = new QLineEdit(box);
    placeOnPage(编辑框_选中ID, 544, 32, 56, 28);
    编辑框_选中ID->setEnabled(false);
    QFont bold = 编辑框_选中ID->font();
    bold.setPixelSize(14);
    bold.setBold(true);
    编辑框_选中ID->setFont(bold);
    setRedText(编辑框_选中ID);

    超级列表框_数据表 = new ListView(listColumns({{"序号", 40},
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
                                                  {"盈亏金额", 80}}),
                                     &parentWindow_, box);
    placeOnPage(超级列表框_数据表, 4, 64, 1156, 463);
}

void MainWindow::buildHoldingsPage() {
    QWidget* box = 图片框3;
    日期框1 = new QDateEdit(box);
    placeOnPage(日期框1, 4, 32, 112, 24);
    日期框1->setMinimumDate(QDate(100, 1, 1));
    日期框1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    日期框1->setCalendarPopup(true);
    const LocalDateTime today = clock_->now();
    日期框1->setDate(QDate(today.year, today.month, today.day));

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
                                       &parentWindow_, box);
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

void MainWindow::buildStatusBar() {
    状态条1 = new StatusBar({50, 80, 50, 150, 50, 500, 60, -1}, this);
    状态条1->setGeometry(0, 513, 1162, 20);
    状态条1->setPaneText(0, gbk("数据库："));
    状态条1->setPaneText(2, gbk("时间："));
    状态条1->setPaneText(4, gbk("日志："));
    状态条1->setPaneText(6, gbk("关于软件："));
    状态条1->setPaneText(7, gbk("---->>有意见可以点这里"));
    状态条1->raise();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit aboutToBeDestroyed();
    QWidget::closeEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quovella
