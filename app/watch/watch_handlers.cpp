// Quotes and watch list: the handlers the wiring binds for page "监视", loading the watch
// list and the add and delete commands. Quote requests run on the page's quote worker; the
// handlers go on when the reply comes back as an event.
#include <QMetaObject>

#include "app/watch/watch_always_on_top.h"
#include "app/watch/watch_page.h"
#include "app/window/failure_log.h"
#include "quotes/quote_reply.h"
#include "quotes/watch_code_rules.h"
#include "quotes/watch_list_file.h"
#include "ui/background.h"
#include "ui/grid.h"
#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {

std::filesystem::path WatchPage::watchListPath() const {
    return context_.runDirectory / watchListFileName;
}

void WatchPage::askQuotes(std::string codeList, std::function<void(std::string)> onReply) {
    ++quotesInFlight_;
    const bool posted = runInBackground<FetchResult>(
        *quotesWorker_, this,
        [quotes = quotes_, codeList = std::move(codeList)](const CancelFlag&) {
            return quotes.fetchQuoteResult(codeList);
        },
        [this, onReply](Outcome<FetchResult> outcome) {
            --quotesInFlight_;
            if (!outcome.ok()) {
                logQuoteJobFailure(outcome.failure, "quote request");
                return onReply({});
            }
            if (outcome.value->body.empty()) {
                logQuoteFailure(outcome.value->error, "quote request");
            }
            onReply(outcome.value->body);
        });
    if (!posted) --quotesInFlight_;
}

void WatchPage::loadWatchList(std::function<void()> then) {
    if (then) afterWatchFill_.push_back(std::move(then));
    const unsigned long load = ++watchLoadGeneration_;
    watchLoadPending_ = false;
    WatchListRead read = readWatchList(watchListPath());
    if (read.status == WatchListRead::Status::tooLarge) {
        refuseWatchList("监视列表 system.txt 太大（超过 1 MB 或 10000 个代码），未载入。");
    } else if (read.status == WatchListRead::Status::unreadable) {
        // Unlike a missing file, a list that is there but cannot be read is worth a word.
        refuseWatchList("监视列表 system.txt 无法读取，未载入。");
    }
    std::string codeList;
    // A missing, unreadable or refused file keeps the previous list and quotes in effect.
    if (read.status == WatchListRead::Status::read) {
        state().watchList = std::move(read.codes);
        state().quoteTable = QuoteTable(static_cast<int>(state().watchList.size()));
        codeList = joinWatchCodes(watchListPath());
    }
    // An empty list asks the server nothing.
    if (codeList.empty()) return onWatchListReply(load, {});
    watchLoadPending_ = true;
    showWatchCodes();
    askQuotes(std::move(codeList),
              [this, load](const std::string& reply) { onWatchListReply(load, reply); });
}

// Posted, so that the window is up before the box asks for an answer.
void WatchPage::refuseWatchList(const char* whyUtf8) {
    QMetaObject::invokeMethod(
        this,
        [this, text = gbk(whyUtf8)] {
            dialogs().message(&context_.window, text, gbk("信息："), DialogButtons::Ok);
        },
        Qt::QueuedConnection);
}

void WatchPage::onAddCodeClicked() {
    // One add at a time: a click while an add waits for the server waits its turn.
    if (addPending_ || addsWaiting_ > 0) {
        ++addsWaiting_;
        return;
    }
    addStockCode();
}

// The next add is posted, so that its box does not open inside the handler of a reply.
void WatchPage::endAdd() {
    addPending_ = false;
    if (addsWaiting_ == 0) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (addPending_ || addsWaiting_ == 0) return;
            --addsWaiting_;
            addStockCode();
        },
        Qt::QueuedConnection);
}

void WatchPage::onDeleteCodeClicked() {
    deleteSelectedStock();
}

void WatchPage::onRefreshTimerTick() {
    // A tick while a refresh runs, while a load waits for its quotes, or while an add's
    // check is out, does nothing.
    if (state().refreshBusy || watchLoadPending_ || addChecking_) return;
    refreshWatchGrid();
}

void WatchPage::addStockCode() {
    setAlwaysOnTop(context_.window, false);
    时钟_刷新周期->setInterval(0);
    const std::optional<std::string> entry = dialogs().input(
        &context_.window, gbk("请输入正确的股票代码"), gbk("添加股票代码"), "600887");
    if (!entry || !isSixByteEntry(*entry)) return refuseStockCode();
    const std::string code = withExchangePrefix(*entry);
    addPending_ = true;
    addChecking_ = true;
    // The check and the reload are kept apart from any refresh request: a running pass
    // ends, and its row in flight is dropped.
    if (state().refreshBusy) endRefresh();
    askQuotes(code, [this, code](const std::string& reply) { onCodeChecked(code, reply); });
}

void WatchPage::onCodeChecked(const std::string& code, const std::string& reply) {
    addChecking_ = false;
    if (!isKnownQuoteContent(firstQuotedText(reply))) {
        refuseStockCode();
        return endAdd();
    }
    // The reload shows the file as it is, so a refused append leaves the grid as it was.
    if (!appendWatchCode(watchListPath(), code)) refuseWatchListWrite();
    高级表格_股票->clearCells();
    loadWatchList([this] {
        setAlwaysOnTop(context_.window, true);
        endAdd();
    });
}

// A full disk, an I/O error or a folder we may not write: the file keeps its old list.
void WatchPage::refuseWatchListWrite() {
    dialogs().message(&context_.window, gbk("监视列表未能保存!"), defaultCaption(),
                      DialogButtons::Ok);
}

void WatchPage::refuseStockCode() {
    dialogs().message(&context_.window, gbk("对不起股票代码有误！"), gbk("添加失败"),
                      DialogButtons::Ok);
    // Nothing was reloaded, so the refresh resumes at the period the user chose.
    时钟_刷新周期->setInterval(滑块条_刷新时间->position() * 1000);
    setAlwaysOnTop(context_.window, true);
}

void WatchPage::deleteSelectedStock() {
    Grid& grid = *高级表格_股票;
    const int row = grid.currentRow();
    if (row == 0 || row == -1) return;
    const std::string code = grid.cellText(row, 1).value_or("");
    // The file still holds the code: so does the grid.
    if (!removeWatchCode(watchListPath(), code)) return refuseWatchListWrite();
    grid.deleteRow(row);
    // The quotes on their way were asked for with the removed code: the full fill would
    // bring its row back, so the load starts again from the file as it is now.
    if (watchLoadPending_) loadWatchList();
}

}  // namespace quovella
