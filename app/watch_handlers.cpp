// Quotes and watch list: the handlers the wiring binds for page "监视", loading the watch
// list and the add and delete commands.
#include <QCoreApplication>

#include "app/main_window.h"
#include "app/watch_always_on_top.h"
#include "quotes/watch_code_rules.h"
#include "quotes/watch_list_file.h"
#include "ui/grid.h"
#include "ui/slider.h"
#include "ui/timer.h"

namespace quovella {

namespace {

// The long loops let other handlers run once per element.
void processPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace

std::string MainWindow::watchListPath() const {
    return runDirectory_ + "/" + watchListFileName;
}

QuoteSource MainWindow::quoteSource() const {
    return QuoteSource(quoteBaseUrl_, fetchOptions_);
}

void MainWindow::loadWatchList() {
    const std::string path = watchListPath();
    // A missing file keeps the previous list and quotes in effect.
    if (std::optional<std::vector<std::string>> codes = readWatchList(path)) {
        state_.watchList = std::move(*codes);
        state_.quoteTable = QuoteTable(static_cast<int>(state_.watchList.size()));
        const std::string codeList = joinWatchCodes(path, processPendingEvents);
        // An empty list asks the server nothing.
        if (!codeList.empty()) quoteSource().fillQuoteTable(codeList, state_.quoteTable);
    }
    showWatchGrid();
}

void MainWindow::onAddCodeClicked() {
    addStockCode();
}

void MainWindow::onDeleteCodeClicked() {
    deleteSelectedStock();
}

void MainWindow::onRefreshTimerTick() {
    // A tick handled inside a running refresh's event processing is dropped.
    if (state_.refreshBusy) return;
    refreshWatchGrid();
}

void MainWindow::addStockCode() {
    setAlwaysOnTop(*this, false);
    时钟_刷新周期->setInterval(0);
    const std::optional<std::string> entry =
        dialogs().input(this, gbk("请输入正确的股票代码"), gbk("添加股票代码"), "600887");
    if (!entry || !isSixByteEntry(*entry)) return refuseStockCode();
    const std::string code = withExchangePrefix(*entry);
    if (!quoteSource().codeExists(code)) return refuseStockCode();
    appendWatchCode(watchListPath(), code);
    高级表格_股票->clearCells();
    loadWatchList();
    setAlwaysOnTop(*this, true);
}

void MainWindow::refuseStockCode() {
    dialogs().message(this, gbk("对不起股票代码有误！"), gbk("添加失败"), DialogButtons::Ok);
    // Nothing was reloaded, so the refresh resumes at the period the user chose.
    时钟_刷新周期->setInterval(滑块条_刷新时间->position() * 1000);
    setAlwaysOnTop(*this, true);
}

void MainWindow::deleteSelectedStock() {
    Grid& grid = *高级表格_股票;
    const int row = grid.currentRow();
    if (row == 0 || row == -1) return;
    const std::string code = grid.cellText(row, 1).value_or("");
    removeWatchCode(watchListPath(), code, processPendingEvents);
    // A reload run in between may have rebuilt the grid; the row goes only if it is still
    // the one whose code was removed.
    if (grid.cellText(row, 1) == code) grid.deleteRow(row);
}

}  // namespace quovella
