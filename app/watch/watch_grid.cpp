// The watch grid 高级表格_股票: set-up and full fill after every load of the watch list, and
// the periodic refresh that rewrites each row's quote columns in place.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "app/watch/watch_page.h"
#include "quotes/quote_reply.h"
#include "quotes/watch_grid_format.h"
#include "ui/grid.h"
#include "ui/slider.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

namespace quovella {

namespace {

constexpr int kColumnCount = 13;
constexpr int kRowHeight = 30;
constexpr int kColumnWidth = 60;
constexpr int kFirstQuoteColumn = 3;
constexpr int kLastColouredColumn = 10;
constexpr int kLastQuoteColumn = 11;
constexpr std::chrono::milliseconds kPauseAfterRow{100};
const std::string kFailedContent = "FAILED";

// Columns 0..11; column 12 keeps the default width and no caption.
constexpr GridHeaderColumn kWatchHeader[] = {
    {"序号", 35},     {"股票代码", 85},  {"股票名称", 85}, {"今开盘价", 80},
    {"昨收盘价", 80}, {"当前价格", 80},  {"最高价", 80},   {"最低价", 80},
    {"成交量", 120},  {"成交金额", 120}, {"涨跌%", 80},    {"时间", 130},
};

ColourWord colourOf(const std::optional<ColourWord>& colour) {
    // 0 is the grid's default text colour.
    return colour.value_or(0);
}

void writeCells(Grid& grid, int row, const std::vector<GridCellText>& cells) {
    for (const GridCellText& cell : cells) grid.setCellText(row, cell.column, cell.text);
}

// A row without a quote keeps only its code: no "0万" and no change for a quote that is
// not there. From column 3 the name stays as well.
void clearQuoteCells(Grid& grid, int row, int fromColumn = 2) {
    for (int column = fromColumn; column <= kLastQuoteColumn; ++column) {
        grid.setCellText(row, column, {});
    }
}

}  // namespace

void WatchPage::setUpWatchGrid() {
    Grid& grid = *高级表格_股票;
    grid.setRowCount(static_cast<int>(state().watchList.size()) + 1);
    grid.setColumnCount(kColumnCount);
    grid.setGridLineColour(kGridLineColour);
    grid.setBackgroundColour(kGridBackground);
    grid.setDefaultRowHeight(kRowHeight);
    grid.setDefaultColumnWidth(kColumnWidth);
    grid.setFixedRowCount(1);
    grid.setFixedColumnCount(1);
    grid.setWholeRowSelection(true);
    grid.setReadOnly(true);
    // With no data row, the one write to row 1 falls outside the grid.
    for (int i = 1;; ++i) {
        grid.setCellText(i, 0, std::to_string(i));
        if (i >= grid.rowCount() - grid.fixedRowCount()) break;
    }
}

// While a load waits for its quotes, the grid already shows the list's rows and codes.
void WatchPage::showWatchCodes() {
    Grid& grid = *高级表格_股票;
    grid.setUpdatesEnabled(false);
    setUpWatchGrid();
    writeHeaderRow(grid, kWatchHeader);
    for (std::size_t i = 0; i < state().watchList.size(); ++i) {
        grid.setCellText(static_cast<int>(i) + 1, 1, state().watchList[i]);
    }
    grid.setUpdatesEnabled(true);
}

void WatchPage::onWatchListReply(unsigned long load, const std::string& reply) {
    // A newer load replaced this one; its own reply fills the grid.
    if (load != watchLoadGeneration_) return;
    if (watchLoadPending_) {
        watchLoadPending_ = false;
        noteFeed(!reply.empty());
        fillQuoteTableFromReply(reply, state().quoteTable);
        // Only what the reply fills shows: without quotes the codes go again.
        高级表格_股票->clearCells();
    }
    showWatchGrid();
    std::vector<std::function<void()>> then;
    then.swap(afterWatchFill_);
    for (const auto& step : then) step();
}

void WatchPage::showWatchGrid() {
    Grid& grid = *高级表格_股票;
    grid.setUpdatesEnabled(false);
    setUpWatchGrid();
    fillWatchGrid();
    grid.setUpdatesEnabled(true);
}

void WatchPage::fillWatchGrid() {
    Grid& grid = *高级表格_股票;
    grid.setUpdatesEnabled(false);
    writeHeaderRow(grid, kWatchHeader);
    // A reply with more entries than watched codes: only rows with a code are filled.
    const int rows =
        std::min(state().quoteTable.quoteCount(), static_cast<int>(state().watchList.size()));
    for (int i = 1; i <= rows; ++i) {
        QCoreApplication::processEvents();
        // The list may have been reloaded while events were processed.
        if (i > static_cast<int>(state().watchList.size())) break;
        grid.setCellText(i, 1, state().watchList[static_cast<std::size_t>(i - 1)]);
        const GridRange coloured{i, kFirstQuoteColumn, i, kLastColouredColumn};
        if (!isKnownQuoteContent(state().quoteTable.cell(i, 1))) {
            clearQuoteCells(grid, i);
            // The server's own word for a code it has no quote for, so the user can tell.
            if (state().quoteTable.cell(i, 1) == kFailedContent)
                grid.setCellText(i, 2, kFailedContent);
            grid.setTextColour(coloured, 0);
            continue;
        }
        const WatchRowFill fill = fullFillRow(state().quoteTable, i);
        writeCells(grid, i, fill.cells);
        grid.setTextColour(coloured, colourOf(fill.colour));
    }
    // The refresh runs at the period the slider shows, however late the reply came; a late
    // fill leaves the timer stopped while an add's check is out.
    if (!addChecking_) 时钟_刷新周期->setInterval(滑块条_刷新时间->position() * 1000);
}

// One pass over the grid's rows, one request per row in row order; each row's code is read
// when the pass reaches it, and a precise timer keeps the pause between a row's write and
// the next request.
void WatchPage::refreshWatchGrid() {
    state().refreshBusy = true;
    ++refreshPass_;
    refreshRow_ = 1;
    refreshRowCount_ = 高级表格_股票->rowCount();
    refreshNextRow();
}

void WatchPage::refreshNextRow() {
    // The row past the last one reads as missing and ends the refresh.
    const std::optional<std::string> code =
        refreshRow_ <= refreshRowCount_ ? 高级表格_股票->cellText(refreshRow_, 1) : std::nullopt;
    if (!code || code->empty()) return endRefresh();
    askQuotes(*code, [this, pass = refreshPass_, row = refreshRow_, code = *code](
                         const std::string& reply) { onRefreshReply(pass, row, code, reply); });
}

void WatchPage::onRefreshReply(unsigned long pass, int row, const std::string& code,
                               const std::string& reply) {
    if (pass != refreshPass_ || !state().refreshBusy) return;
    noteFeed(!reply.empty());
    const std::string content = firstQuotedText(reply);
    if (content.empty()) return endRefresh();
    // A row deleted or reloaded meanwhile holds another code now: the reply is not its own.
    // A code that turned "FAILED" loses its prices, which would look live and be saved as
    // today's snapshot; its code and name stay, and the rows below still get their turn.
    if (高级表格_股票->cellText(row, 1) == code && content == kFailedContent) {
        clearQuoteCells(*高级表格_股票, row, kFirstQuoteColumn);
    } else if (高级表格_股票->cellText(row, 1) == code) {
        const std::optional<std::vector<GridCellText>> cells = refreshRow(content);
        if (!cells) return endRefresh();
        writeCells(*高级表格_股票, row, *cells);
    }
    refreshPause_->start(kPauseAfterRow);
}

// Pane 5 says when the quotes stop coming (with the time of the last ones received) and
// when they come again, once each; the grid itself keeps what it shows.
void WatchPage::noteFeed(bool quotesCame) {
    const LocalDateTime now = context_.clock.now();
    if (quotesCame) {
        lastQuotesAt_ = now;
        if (!feedDown_) return;
        feedDown_ = false;
        context_.statusBar.setPaneText(5, gbk("行情恢复 ") + clockText(now));
        return;
    }
    if (feedDown_) return;
    feedDown_ = true;
    const std::string since = lastQuotesAt_ ? " " + clockText(*lastQuotesAt_) : std::string();
    context_.statusBar.setPaneText(5, gbk("行情中断") + since);
}

void WatchPage::endRefresh() {
    refreshPause_->stop();
    state().refreshBusy = false;
}

}  // namespace quovella
