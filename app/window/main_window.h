#pragma once
// The main window: the tab control with its three pages, the status bar, the event wiring,
// the start-up sequence and the shutdown. Each page owns its units, handlers and state.
#include <QWidget>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/window/app_state.h"
#include "app/window/page_context.h"
#include "common/date_time.h"
#include "quotes/quote_source.h"
#include "ui/dialogs.h"
#include "ui_core/custom_draw.h"

namespace quovella {

class HoldingsPage;
class RecordsPage;
class StatusBar;
class TabControl;
class WatchPage;

// The window's size and the outer size it is centred by (frame included).
constexpr int kClientWidth = 1162;
constexpr int kClientHeight = 533;
constexpr int kOuterWidth = 1168;
constexpr int kOuterHeight = 580;

// Injected services; null means the program's own (Qt dialogs, the system clock).
struct WindowServices {
    Dialogs* dialogs = nullptr;
    const Clock* clock = nullptr;
    // Time-outs of every quote request the window makes.
    FetchOptions fetchOptions{};
};

// The directory of the program's executable, named in the file system's own bytes: GBK may
// not be able to hold its name.
std::filesystem::path programDirectory();

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // The start-up sequence has run when the constructor returns.
    MainWindow(AppState& state, std::filesystem::path runDirectory, std::string quoteBaseUrl,
               WindowServices services = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppState& appState() const { return state_; }
    // True when every quote request of the window has had its reply handled.
    bool quotesIdle() const;
    // True when, besides, every step of the records list and every store operation the
    // window asked for has come back (the revaluation passes aside).
    bool backgroundIdle() const;
    // As the file system names it: GBK may not be able to hold its name.
    const std::filesystem::path& runDirectory() const { return runDirectory_; }
    Dialogs& dialogs() const { return *dialogs_; }
    const Clock& clock() const { return *clock_; }
    // The parent side of the list views' custom draw.
    ParentWindow& parentWindow() { return parentWindow_; }
    // A later start's ask: brings the window forward and answers true, unless the window
    // is closing; then a failure's message still open comes forward instead, and the
    // answer is false (the later start waits for this copy to end).
    bool comeForward();
    // Replaces how the about window is opened (modal; returns when it is closed).
    void setAboutWindowOpener(std::function<void(QWidget* owner)> opener);

    WatchPage& watchPage() const { return *watchPage_; }
    RecordsPage& recordsPage() const { return *recordsPage_; }
    HoldingsPage& holdingsPage() const { return *holdingsPage_; }

    // 高级选择夹1 and its pages' picture boxes.
    TabControl* 高级选择夹1 = nullptr;
    QWidget* 图片框1 = nullptr;
    QWidget* 图片框2 = nullptr;
    QWidget* 图片框3 = nullptr;
    // Outside the tab control. 数据库连接 and 记录集, the non-visual store units, belong to
    // the record store held in the program-wide state.
    StatusBar* 状态条1 = nullptr;

  signals:
    void created();
    void aboutToBeDestroyed();
    // After a close, once the store has answered every job asked before it and no message
    // is open: the program may end. At most the store's close time after the close, plus
    // the time the user takes to answer a failure's message.
    void closeFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildStatusBar();
    PageContext pageContext();

    // The wiring table (main_window_wiring.cpp).
    void wireEvents();

    // Start-up and shutdown (startup.cpp).
    void runStartup();
    void connectRecordStore();
    void applyPlaceholderHints();
    void stopTimers();
    // Each page cancels and ends its own workers; nothing they post reaches the window
    // after it. The store's worker goes on with the writes asked for.
    void endBackgroundWork();
    // The close's second half: the window is off the screen, the event loop runs on, and
    // the store's answers are handled as usual until closeFinished.
    void endAfterStoreAnswers();
    void endOnceNoMessageIsOpen();

    // The window's own handlers (window_handlers.cpp).
    void onClockTick();
    void onStatusBarPressed(int x, int y, int keys);
    void openAboutWindow();

    AppState& state_;
    std::filesystem::path runDirectory_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<Clock> ownClock_;
    Dialogs* dialogs_ = nullptr;
    const Clock* clock_ = nullptr;
    ParentWindow parentWindow_;
    std::function<void(QWidget*)> aboutOpener_;
    WatchPage* watchPage_ = nullptr;
    RecordsPage* recordsPage_ = nullptr;
    HoldingsPage* holdingsPage_ = nullptr;
    // The start-up open of the store, until its answer is handled.
    int storeInFlight_ = 0;
    bool closing_ = false;
};

}  // namespace quovella
