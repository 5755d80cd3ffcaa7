#pragma once
// Page "监视": the watch grid with its quotes, the add and delete commands, the periodic
// refresh one row at a time, the two settings sliders and the snapshot a double-click saves.
// Quote requests run on the page's quote worker, snapshot saves on the store's; the
// handlers go on when the result comes back as an event.
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/window/page_context.h"
#include "app/window/store_answer.h"
#include "common/worker.h"
#include "quotes/quote_source.h"
#include "records/snapshot.h"

class QLabel;
class QPushButton;
class QTimer;

namespace quovella {

class Grid;
class Slider;
class Timer;

class WatchPage : public QObject {
    Q_OBJECT
  public:
    // Builds the page's units inside `box`.
    WatchPage(PageContext context, std::string quoteBaseUrl, FetchOptions fetchOptions,
              QWidget* box);
    ~WatchPage() override;

    QPushButton* 按钮_添加 = nullptr;
    QPushButton* 按钮_删除 = nullptr;
    Timer* 时钟_刷新周期 = nullptr;
    QLabel* 标签2 = nullptr;
    Slider* 滑块条_刷新时间 = nullptr;
    QLabel* 标签1 = nullptr;
    Slider* 滑块条_透明度 = nullptr;
    Grid* 高级表格_股票 = nullptr;

    // Runs `then` once the full fill that this load asks for has run (at once when no
    // request goes out); a newer load takes over the continuations of one it replaces.
    void loadWatchList(std::function<void()> then = {});
    // The start-up's part: the refresh period from its slider, the transparency slider at
    // its first position (the transparency itself waits until the user moves it).
    void applyStartupSettings();

    // The handlers the wiring binds.
    void onAddCodeClicked();
    void onDeleteCodeClicked();
    void onRefreshTimerTick();
    void applyRefreshPeriod();
    void applyTransparency();
    void onWatchGridDoubleClicked(int x, int y, int keys);

    // True when every quote request of the page has had its reply handled, every snapshot
    // save its answer, and no add waits its turn.
    bool quotesIdle() const {
        return quotesInFlight_ == 0 && savesInFlight_ == 0 && addsWaiting_ == 0;
    }
    // Cancels the request in flight and ends the page's worker; no reply reaches the page
    // after it.
    void endBackgroundWork();
    // The quote server as the page reaches it, with no cancel of the page's.
    QuoteSource quoteSource() const;

  signals:
    // A snapshot save was asked of the store: the records list reads the store again once
    // the save has answered, in its place among the list's steps.
    void snapshotSaveAsked(std::shared_ptr<quovella::StoreAnswer<quovella::SaveOutcome>> save);

  private:
    void buildUnits(QWidget* box);
    Dialogs& dialogs() const { return context_.dialogs; }
    AppState& state() const { return context_.state; }

    void addStockCode();
    void onCodeChecked(const std::string& code, const std::string& reply);
    void endAdd();
    void saveSnapshotValues(std::vector<std::string> values);
    void deleteSelectedStock();
    std::filesystem::path watchListPath() const;
    void refuseStockCode();
    void refuseWatchListWrite();
    void refuseWatchList(const char* whyUtf8);
    // Sends one quote request off the GUI thread; onReply runs on the GUI thread with the
    // reply (empty on a failure, whose cause is logged), unless the page has gone by then.
    void askQuotes(std::string codeList, std::function<void(std::string)> onReply);

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
    // A load's or a refresh row's reply came: with quotes, or empty.
    void noteFeed(bool quotesCame);

    PageContext context_;
    std::string quoteBaseUrl_;
    FetchOptions fetchOptions_;
    QuoteSource quotes_;
    std::unique_ptr<Worker> quotesWorker_;
    int quotesInFlight_ = 0;
    int savesInFlight_ = 0;
    // Counts loads of the watch list; the reply of a replaced load is dropped.
    unsigned long watchLoadGeneration_ = 0;
    // A load's request is out: the grid shows the codes, the full fill waits for the reply.
    bool watchLoadPending_ = false;
    std::vector<std::function<void()>> afterWatchFill_;
    // An add command is between its code check and its end, and (within that) its check
    // is out: no refresh pass starts then, and nothing but the add's reload restarts the
    // refresh timer.
    bool addPending_ = false;
    bool addChecking_ = false;
    // Add clicks that came while an add was pending, each to run in its turn.
    int addsWaiting_ = 0;
    // The periodic refresh, one row at a time: the pass, the row it asks for, the grid's
    // row count when it began, and the pause after each row.
    unsigned long refreshPass_ = 0;
    int refreshRow_ = 0;
    int refreshRowCount_ = 0;
    QTimer* refreshPause_ = nullptr;
    // The feed's state as pane 5 last told it, and when quotes last came.
    bool feedDown_ = false;
    std::optional<LocalDateTime> lastQuotesAt_;
};

}  // namespace quovella
