// Holdings: the reload at start-up and the handlers the wiring binds for page "持有".
#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <utility>

#include "app/background.h"
#include "app/failure_log.h"
#include "app/holdings_page.h"
#include "common/numbers.h"
#include "holdings/holdings_store.h"
#include "holdings/purchase_form.h"
#include "holdings/revaluation_pass.h"
#include "quotes/watch_code_rules.h"
#include "ui/grid.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"

namespace quovella {

namespace {

// Pending events get through at most this often while a reload writes rows.
constexpr qint64 kEventSliceMs = 10;

constexpr int kFirstColouredColumn = holdingColumn::name;
constexpr int kLastColouredColumn = holdingColumn::rate;

constexpr ColourWord kLossColour = kFallingColour;
constexpr ColourWord kGainColour = kRisingColour;

std::string cell(const Grid& grid, int row, int column) {
    return grid.cellText(row, column).value_or("");
}

void writeHoldingRow(Grid& grid, int row, const std::vector<std::string>& values) {
    for (std::size_t column = 0; column < values.size(); ++column) {
        grid.setCellText(row, static_cast<int>(column), values[column]);
    }
    const bool loss = leadingWhole(values[holdingColumn::amount]) < 0;
    grid.setTextColour({row, kFirstColouredColumn, row, kLastColouredColumn},
                       loss ? kLossColour : kGainColour);
}

// The rows a pass revalues: from row 1 up to the first one without a code.
std::vector<HoldingToRevalue> holdingsToRevalue(const Grid& grid) {
    std::vector<HoldingToRevalue> rows;
    for (int row = 1; row < grid.rowCount(); ++row) {
        HoldingToRevalue holding{
            row, cell(grid, row, holdingColumn::id), cell(grid, row, holdingColumn::code),
            cell(grid, row, holdingColumn::shares), cell(grid, row, holdingColumn::price)};
        if (holding.code.empty()) break;
        rows.push_back(std::move(holding));
    }
    return rows;
}

// A reload may have moved the holdings since the pass read them: only the row that still
// shows this holding takes its values.
void showRevaluation(Grid& grid, const RevaluedHolding& result) {
    if (cell(grid, result.row, holdingColumn::id) != result.id) return;
    if (cell(grid, result.row, holdingColumn::code) != result.code) return;
    grid.setCellText(result.row, holdingColumn::currentPrice, result.price);
    grid.setCellText(result.row, holdingColumn::amount, result.amount);
    grid.setCellText(result.row, holdingColumn::rate, result.rate);
    grid.setCellText(result.row, holdingColumn::time, result.time);
}

}  // namespace

void HoldingsPage::reloadHoldingsGrid() {
    const unsigned long generation = ++holdingsReloadGeneration_;
    超级列表框_持有数据->removeAllRows();
    // Read under the store lock into memory first; events are let through only afterwards.
    std::vector<std::vector<std::string>> rows;
    if (context_.state.store) rows = readAllHoldings(*context_.state.store);
    // The grid is not emptied: rows 1..count take the holdings, and the rows appended below
    // them by earlier reloads stay empty, which ends a revaluation pass there.
    Grid& grid = *高级表格_持有;
    for (std::size_t i = 0; i < rows.size(); ++i) grid.appendRow();
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        writeHoldingRow(grid, static_cast<int>(i) + 1, rows[i]);
        if (sinceEvents.elapsed() < kEventSliceMs) continue;
        QCoreApplication::processEvents();
        // A reload that ran meanwhile wrote newer rows: the rest of ours is stale.
        if (generation != holdingsReloadGeneration_) return;
        sinceEvents.restart();
    }
}

void HoldingsPage::onAddHoldingClicked() {
    addHolding();
}

// No validation and no message: the reloaded grid shows whether the row arrived.
void HoldingsPage::addHolding() {
    const QDate date = 日期框1->date();
    const std::string shares = fromQt(编辑框_购买股数->text());
    const std::string price = fromQt(编辑框_购买单价->text());
    const HoldingRow row{purchaseDateText({date.year(), date.month(), date.day()}),
                         withExchangePrefix(fromQt(编辑框_股票代码->text())),
                         fromQt(编辑框_股票名称->text()),
                         shares,
                         price,
                         totalPurchaseText(shares, price)};
    if (context_.state.store && !insertHolding(*context_.state.store, row)) {
        logStoreFailure(*context_.state.store, "holding insert");
    }
    reloadHoldingsGrid();
}

void HoldingsPage::onHoldingsTimerTick() {
    if (!revaluation_) {
        revaluation_ = std::make_shared<RevaluationPass>(sharedClock_, cancel_);
    }
    if (revaluation_->busy()) return;
    std::vector<HoldingToRevalue> rows = holdingsToRevalue(*高级表格_持有);
    if (rows.empty()) return;
    // Results come back to the GUI thread; one for a page already gone is dropped with it.
    auto deliver = [this](RevaluedHolding result) {
        postCall(this,
                 [this, result = std::move(result)] { showRevaluation(*高级表格_持有, result); });
    };
    revaluation_->start(std::move(rows), quotes_, context_.state.store.get(), std::move(deliver));
}

// Bound but empty, as the window defines them.
void HoldingsPage::onHoldingsGridReleased(int /*x*/, int /*y*/, int /*keys*/) {}
void HoldingsPage::onHoldingsListHeaderClicked(int /*column*/) {}

}  // namespace quovella
