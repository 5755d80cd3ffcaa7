#include "app/window/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTabBar>

#include "app/holdings/holdings_page.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/page_layout.h"
#include "ui/qt_dialogs.h"
#include "ui/status_bar.h"
#include "ui/tab_control.h"
#include "ui/window_placement.h"

namespace quovella {

namespace {

QFont tabFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

std::filesystem::path programDirectory() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

MainWindow::MainWindow(AppState& state, std::filesystem::path runDirectory,
                       std::string quoteBaseUrl, WindowServices services, QWidget* parent)
    : QWidget(parent),
      state_(state),
      runDirectory_(std::move(runDirectory)),
      parentWindow_(reinterpret_cast<WindowHandle>(this)) {
    if (services.dialogs == nullptr) ownDialogs_ = std::make_unique<QtDialogs>();
    if (services.clock == nullptr) ownClock_ = std::make_unique<SystemClock>();
    dialogs_ = services.dialogs != nullptr ? services.dialogs : ownDialogs_.get();
    clock_ = services.clock != nullptr ? services.clock : ownClock_.get();

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
    buildStatusBar();
    watchPage_ =
        new WatchPage(pageContext(), std::move(quoteBaseUrl), services.fetchOptions, 图片框1);
    recordsPage_ = new RecordsPage(pageContext(), parentWindow_, 图片框2);
    holdingsPage_ =
        new HoldingsPage(pageContext(), watchPage_->quoteSource(), parentWindow_, 图片框3);

    wireEvents();
    emit created();
}

MainWindow::~MainWindow() {
    // No worker may post into a window that is going.
    endBackgroundWork();
    // The parent window the colouring hook answers for dies with this window.
    if (state_.colourHook) state_.colourHook->detach();
}

PageContext MainWindow::pageContext() {
    return {state_, *dialogs_, *clock_, runDirectory_, *状态条1, *this};
}

void MainWindow::setAboutWindowOpener(std::function<void(QWidget*)> opener) {
    aboutOpener_ = std::move(opener);
}

bool MainWindow::quotesIdle() const {
    return watchPage_->quotesIdle();
}

bool MainWindow::backgroundIdle() const {
    return quotesIdle() && storeInFlight_ == 0 && recordsPage_->idle() && holdingsPage_->idle();
}

void MainWindow::endBackgroundWork() {
    watchPage_->endBackgroundWork();
    recordsPage_->endBackgroundWork();
    holdingsPage_->endBackgroundWork();
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
