#pragma once
// The main window: every unit with its name, position and initial state, the event
// wiring, the start-up sequence and the timer stop at shutdown.
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "common/date_time.h"
#include "common/text_table.h"
#include "quotes/quote_source.h"
#include "ui/cell_colour_hook.h"
#include "ui/custom_draw.h"
#include "ui/dialogs.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quovella {

class Grid;
class ListView;
class Slider;
class StatusBar;
class TabControl;
class Timer;

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

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    // The start-up sequence has run when the constructor returns.
    MainWindow(AppState& state, std::string runDirectory, std::string quoteBaseUrl,
               WindowServices services = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    AppState& appState() const { return state_; }
    // True when every quote request of the window has had its reply handled.
    bool quotesIdle() const;
    // True when, besides, every read and sort of the records list has come back.
    bool backgroundIdle() const;
    // GBK, without a trailing separator; files are joined with "/".
    const std::string& runDirectory() const { return runDirectory_; }
    const std::string& quoteBaseUrl() const { return quoteBaseUrl_; }
    Dialogs& dialogs() const { return *dialogs_; }
    const Clock& clock() const { return *clock_; }
    // The parent side of the list views' custom draw.
    ParentWindow& parentWindow() { return parentWindow_; }
    // Replaces how the about window is opened (modal; returns when it is closed).
    void setAboutWindowOpener(std::function<void(QWidget* owner)> opener);

    // 高级选择夹1 and its pages' picture boxes.
    TabControl* 高级选择夹1 = nullptr;
    QWidget* 图片框1 = nullptr;
    QWidget* 图片框2 = nullptr;
    QWidget* 图片框3 = nullptr;

    // Page "监视".
    QPushButton* 按钮_添加 = nullptr;
    QPushButton* 按钮_删除 = nullptr;
    Timer* 时钟_刷新周期 = nullptr;
    QLabel* 标签2 = nullptr;
    Slider* 滑块条_刷新时间 = nullptr;
    QLabel* 标签1 = nullptr;
    Slider* 滑块条_透明度 = nullptr;
    Grid* 高级表格_股票 = nullptr;

    // Page "数据".
    QLineEdit* 编辑框_条件 = nullptr;
    QPushButton* 按钮_搜索 = nullptr;
    QRadioButton* 单选框_正向 = nullptr;
    QRadioButton* 单选框_逆向 = nullptr;
    QPushButton* 按钮_删除选中 = nullptr;
    Timer* 时钟1 = nullptr;
    QLineEdit* 编辑框_选中ID = nullptr;
    ListView* 超级列表框_数据表 = nullptr;

    // Page "持有".
    QDateEdit* 日期框1 = nullptr;
    QLabel* 标签3 = nullptr;
    QLineEdit* 编辑框_股票代码 = nullptr;
    QLabel* 标签4 = nullptr;
    QLineEdit* 编辑框_股票名称 = nullptr;
    QLabel* 标签5 = nullptr;
    QLineEdit* 编辑框_购买股数 = nullptr;
    Timer* 时钟_更新持有 = nullptr;
    QLabel* 标签6 = nullptr;
    QLineEdit* 编辑框_购买单价 = nullptr;
    QLineEdit* 编辑框_持有ID = nullptr;
    QPushButton* 按钮_添加持有 = nullptr;
    QPushButton* 按钮1 = nullptr;
    Grid* 高级表格_持有 = nullptr;
    ListView* 超级列表框_持有数据 = nullptr;

    // Outside the tab control. 数据库连接 and 记录集, the non-visual store units, belong to
    // the record store held in the program-wide state.
    StatusBar* 状态条1 = nullptr;

  signals:
    void created();
    void aboutToBeDestroyed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Layout (main_window.cpp).
    void buildWatchPage();
    void buildRecordsPage();
    void buildHoldingsPage();
    void buildStatusBar();

    // The wiring table (main_window_wiring.cpp).
    void wireEvents();

    // Start-up and shutdown (startup.cpp).
    void runStartup();
    void prepareHoldingsGridHeader();
    void connectRecordStore();
    void applyPlaceholderHints();
    void stopTimers();

    // The window's own handlers (window_handlers.cpp).
    void onClockTick();
    void onStatusBarPressed(int x, int y, int keys);
    void openAboutWindow();
    void copyHoldingFromGrid();
    void copyHoldingFromList();

    // Refresh and transparency settings (settings_handlers.cpp).
    void applyRefreshPeriod();
    void applyTransparency();

    // Quotes and watch list (watch_handlers.cpp).
    // Runs `then` once the full fill that this load asks for has run (at once when no
    // request goes out); a newer load takes over the continuations of one it replaces.
    void loadWatchList(std::function<void()> then = {});
    void onAddCodeClicked();
    void onDeleteCodeClicked();
    void onRefreshTimerTick();
    void addStockCode();
    void onCodeChecked(const std::string& code, const std::string& reply);
    void deleteSelectedStock();
    std::string watchListPath() const;
    QuoteSource quoteSource() const;
    void refuseStockCode();
    void refuseWatchList();
    // Sends one quote request off the GUI thread; onReply runs on the GUI thread with the
    // reply, unless the window has gone by then.
    void askQuotes(std::string codeList, std::function<void(std::string)> onReply);
    // Cancels every quote exchange in flight, stops the holdings pass and the records
    // worker; no worker posts into the window after it.
    void endBackgroundWork();
    // The watch grid (watch_grid.cpp).
    void setUpWatchGrid();
    void showWatchCodes();
    void onWatchListReply(unsigned long load, const std::string& reply);
    void showWatchGrid();
    void fillWatchGrid();
    void refreshWatchGrid();
    void refreshNextRow();
    void onRefreshReply(unsigned long pass, int row, const std::string& code,
                        const std::string& reply);
    void endRefresh();
    FetchOptions fetchOptions_;
    std::unique_ptr<class QuoteExchange> exchange_;
    int quotesInFlight_ = 0;
    // Counts loads of the watch list; the reply of a replaced load is dropped.
    unsigned long watchLoadGeneration_ = 0;
    // A load's request is out: the grid shows the codes, the full fill waits for the reply.
    bool watchLoadPending_ = false;
    std::vector<std::function<void()>> afterWatchFill_;
    // An add command is between its code check and its end.
    bool addPending_ = false;
    // The periodic refresh, one row at a time: the pass, the row it asks for, the grid's
    // row count when it began, and the pause after each row.
    unsigned long refreshPass_ = 0;
    int refreshRow_ = 0;
    int refreshRowCount_ = 0;
    class QTimer* refreshPause_ = nullptr;

    // Daily snapshot saving (snapshot_handlers.cpp).
    void onWatchGridDoubleClicked(int x, int y, int keys);

    // Daily records (records_handlers.cpp).
    void attachColourHook();
    bool startupOpenStore();
    void fillRecordsList();
    void onSearchClicked();
    void onDeleteSelectedClicked();
    void onRecordsRowClicked();
    void onRecordsDoubleClicked(int x, int y, int keys);
    void onRecordsHeaderClicked(int column);
    void onRecordsLeftPressed(int x, int y, int keys);
    void onRecordsLeftReleased(int x, int y, int keys);
    // Every change of the list's rows comes with the colours of the rows as they then stand,
    // so no row keeps the colour of a row that stood there before.
    void showRecords(TextTable rows, CellColourHook colours);
    using RecordsRead = std::function<std::optional<TextTable>(const std::atomic<bool>& cancel)>;
    void readRecordsInBackground(RecordsRead read);
    // Counts changes of the records list's rows (fill, search, delete) and header clicks;
    // a result made for an older list or an older click is dropped.
    unsigned long recordsListGeneration_ = 0;
    unsigned long recordsSortGeneration_ = 0;
    // Reads and sorts run here, off the GUI thread.
    std::unique_ptr<class JobQueue> recordsJobs_;
    int recordsInFlight_ = 0;
    // The read in flight, started again when a delete changes the store under it.
    std::function<void()> rereadRecords_;

    // Holdings (holdings_handlers.cpp).
    void reloadHoldingsGrid();
    void onAddHoldingClicked();
    void onHoldingsTimerTick();
    void onHoldingsGridReleased(int x, int y, int keys);
    void onHoldingsListHeaderClicked(int column);
    void addHolding();
    // Counts reloads of the holdings grid, so a reload interrupted by a newer one stops.
    unsigned long holdingsReloadGeneration_ = 0;
    // The revaluation worker, made at the first tick; destroying it waits for a running
    // pass, so no worker outlives the window.
    std::shared_ptr<class RevaluationPass> revaluation_;
    // Lets tests see whether a revaluation pass runs.
    friend class HoldingsProbe;

    AppState& state_;
    std::string runDirectory_;
    std::string quoteBaseUrl_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<Clock> ownClock_;
    Dialogs* dialogs_ = nullptr;
    const Clock* clock_ = nullptr;
    ParentWindow parentWindow_;
    std::function<void(QWidget*)> aboutOpener_;
};

}  // namespace quovella
