// The watch grid 高级表格_股票: set-up and full fill after every load of the watch list, and
// the periodic refresh that rewrites each row's quote columns in place.
#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <thread>

#include "app/main_window.h"
#include "quotes/quote_reply.h"
#include "quotes/watch_grid_format.h"
#include "ui/grid.h"
#include "ui/timer.h"

namespace quovella {

namespace {

constexpr int kColumnCount = 13;
constexpr int kRowHeight = 30;
constexpr int kColumnWidth = 60;
constexpr int kFirstQuoteColumn = 3;
constexpr int kLastColouredColumn = 10;
constexpr int kLastQuoteColumn = 11;
constexpr int kFillPeriod = 1000;
constexpr std::chrono::milliseconds kPauseAfterRow{100};

// Columns 0..11; column 12 keeps the default width and no caption.
constexpr GridHeaderColumn kWatchHeader[] = {
    {"序号", 35},     {"股票代码", 85},  {"股票名称", 85}, {"今开盘价", 80},
    {"昨收盘价", 80}, {"当前价格", 80},  {"最高价", 80},   {"最低价", 80},
    {"成交量", 120},  {"成交金额", 120}, {"涨跌%", 80},    {"时间", 130},
};

ColourWord colourOf(const std::optional<RgbColour>& colour) {
    // 0 is the grid's default text colour.
    return colour ? colourWord(colour->red, colour->green, colour->blue) : 0;
}

void writeCells(Grid& grid, int row, const std::vector<GridCellText>& cells) {
    for (const GridCellText& cell : cells) grid.setCellText(row, cell.column, cell.text);
}

// A row without a quote keeps only its code: no "0万" and no change for a quote that is
// not there.
void clearQuoteCells(Grid& grid, int row) {
    for (int column = 2; column <= kLastQuoteColumn; ++column) grid.setCellText(row, column, {});
}

// Clears refreshBusy on every way out of the refresh.
class BusyFlag {
  public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;
    ~BusyFlag() { flag_ = false; }

  private:
    bool& flag_;
};

}  // namespace

void MainWindow::showWatchGrid() {
    Grid& grid = *高级表格_股票;
    grid.setUpdatesEnabled(false);
    grid.setRowCount(static_cast<int>(state_.watchList.size()) + 1);
    grid.setColumnCount(kColumnCount);
    grid.setGridLineColour(colourWord(192, 192, 192));
    grid.setBackgroundColour(colourWord(255, 255, 255));
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
    fillWatchGrid();
    grid.setUpdatesEnabled(true);
}

void MainWindow::fillWatchGrid() {
    Grid& grid = *高级表格_股票;
    grid.setUpdatesEnabled(false);
    writeHeaderRow(grid, kWatchHeader);
    // A reply with more entries than watched codes: only rows with a code are filled.
    const int rows =
        std::min(state_.quoteTable.quoteCount(), static_cast<int>(state_.watchList.size()));
    for (int i = 1; i <= rows; ++i) {
        QCoreApplication::processEvents();
        // The list may have been reloaded while events were processed.
        if (i > static_cast<int>(state_.watchList.size())) break;
        grid.setCellText(i, 1, state_.watchList[static_cast<std::size_t>(i - 1)]);
        const GridRange coloured{i, kFirstQuoteColumn, i, kLastColouredColumn};
        if (!isKnownQuoteContent(state_.quoteTable.cell(i, 1))) {
            clearQuoteCells(grid, i);
            grid.setTextColour(coloured, 0);
            continue;
        }
        const WatchRowFill fill = fullFillRow(state_.quoteTable, i);
        writeCells(grid, i, fill.cells);
        grid.setTextColour(coloured, colourOf(fill.colour));
    }
    时钟_刷新周期->setInterval(kFillPeriod);
}

void MainWindow::refreshWatchGrid() {
    const BusyFlag busy(state_.refreshBusy);
    Grid& grid = *高级表格_股票;
    const QuoteSource source = quoteSource();
    const int rowCount = grid.rowCount();
    for (int r = 1; r <= rowCount; ++r) {
        QCoreApplication::processEvents();
        // The row past the last one reads as missing and ends the refresh.
        const std::optional<std::string> code = grid.cellText(r, 1);
        if (!code || code->empty()) return;
        const std::string content = source.quoteContentFor(*code);
        // "FAILED" is the server's word for no quote: the row keeps what it shows.
        if (!isKnownQuoteContent(content)) return;
        const std::optional<std::vector<GridCellText>> cells = refreshRow(content);
        if (!cells) return;
        writeCells(grid, r, *cells);
        std::this_thread::sleep_for(kPauseAfterRow);
    }
}

}  // namespace quovella
