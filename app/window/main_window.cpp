#include "app/window/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTabBar>
#include <QTimer>

#include "app/holdings/holdings_page.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/page_layout.h"
#include "app/window/single_instance.h"
#include "ui/background.h"
#include "ui/qt_dialogs.h"
#include "ui/status_bar.h"
#include "ui/tab_control.h"
#include "ui/window_placement.h"

namespace quovella {

namespace {

// How often a finished close looks again for a message still waiting for its answer.
constexpr int kOpenMessagePollMs = 50;

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

bool MainWindow::comeForward() {
    if (!closing_) {
        bringToFront(*this);
        return true;
    }
    if (QWidget* message = QApplication::activeModalWidget()) bringToFront(*message);
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (closing_) return;
    closing_ = true;
    emit aboutToBeDestroyed();
    endAfterStoreAnswers();
}

// The recomputed updates still queued are dropped and the asked writes get what is left of
// the close time; one that cannot land answers with its failure, whose message the user
// sees before the program ends. The last job's answer comes after all of theirs.
void MainWindow::endAfterStoreAnswers() {
    StoreWorker* const store = state_.store.get();
    if (store == nullptr) {
        QTimer::singleShot(0, this, &MainWindow::endOnceNoMessageIsOpen);
        return;
    }
    store->closeBy(std::chrono::steady_clock::now() + StoreWorker::kCloseTime);
    const bool posted = store->post(StoreJobKind::asked, 0,
                                    [this, watched = QPointer<QObject>(this)](const CancelFlag&) {
                                        postCall(watched, [this] { endOnceNoMessageIsOpen(); });
                                    });
    if (!posted) QTimer::singleShot(0, this, &MainWindow::endOnceNoMessageIsOpen);
}

// An answer may arrive inside a message's own event loop: the end waits until it is closed.
void MainWindow::endOnceNoMessageIsOpen() {
    if (QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kOpenMessagePollMs, this, &MainWindow::endOnceNoMessageIsOpen);
        return;
    }
    emit closeFinished();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quovella
