// Holdings: the reload at start-up and the handlers the wiring binds for page "持有".
#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "app/holdings/holdings_page.h"
#include "app/window/failure_log.h"
#include "app/window/store_answer.h"
#include "common/numbers.h"
#include "holdings/holdings_store.h"
#include "holdings/purchase_form.h"
#include "quotes/watch_code_rules.h"
#include "ui/background.h"
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

}  // namespace

// A reload may have moved the holdings since the pass read them: only the row that still
// shows this holding takes its values.
void HoldingsPage::showRevaluation(const RevaluedHolding& result) {
    const std::vector<std::string>& values =
        latestValuations_[result.id] = {result.price, result.amount, result.rate, result.time};
    Grid& grid = *高级表格_持有;
    if (cell(grid, result.row, holdingColumn::id) != result.id) return;
    if (cell(grid, result.row, holdingColumn::code) != result.code) return;
    for (std::size_t i = 0; i < values.size(); ++i) {
        grid.setCellText(result.row, holdingColumn::currentPrice + static_cast<int>(i), values[i]);
    }
}

// cy is read on the store's worker, behind the writes asked before it; the grid takes the
// rows when they are back.
void HoldingsPage::reloadHoldingsGrid() {
    const unsigned long generation = ++holdingsReloadGeneration_;
    using Rows = std::vector<std::vector<std::string>>;
    ++storeInFlight_;
    askStore<Rows>(context_.state.store.get(), this, [](RecordStore& store) {
        return std::optional<Rows>(readAllHoldings(store));
    })->whenBack([this, generation](const StoreOutcome<Rows>& rows) {
        --storeInFlight_;
        if (!rows.ok()) logStoreFailure(rows.error, "holdings read");
        showHoldings(generation, rows.value.value_or(Rows()));
    });
}

void HoldingsPage::showHoldings(unsigned long generation,
                                std::vector<std::vector<std::string>> rows) {
    // A newer reload's rows are on their way.
    if (generation != holdingsReloadGeneration_) return;
    超级列表框_持有数据->removeAllRows();
    // The grid is not emptied: rows 1..count take the holdings, and the rows appended below
    // them by earlier reloads stay empty, which ends a revaluation pass there.
    Grid& grid = *高级表格_持有;
    for (std::size_t i = 0; i < rows.size(); ++i) grid.appendRow();
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<std::string>& values = rows[i];
        const auto valued = latestValuations_.find(values[holdingColumn::id]);
        if (valued != latestValuations_.end()) {
            std::copy(valued->second.begin(), valued->second.end(),
                      values.begin() + holdingColumn::currentPrice);
        }
        writeHoldingRow(grid, static_cast<int>(i) + 1, values);
        if (sinceEvents.elapsed() < kEventSliceMs) continue;
        QCoreApplication::processEvents();
        // A reload that ran meanwhile wrote newer rows: the rest of ours is stale.
        if (generation != holdingsReloadGeneration_) return;
        sinceEvents.restart();
    }
    std::erase_if(latestValuations_, [&rows](const auto& shown) {
        return std::none_of(rows.begin(), rows.end(), [&shown](const auto& values) {
            return !values.empty() && values[holdingColumn::id] == shown.first;
        });
    });
}

void HoldingsPage::onAddHoldingClicked() {
    addHolding();
}

// No validation: the reloaded grid shows whether the row arrived, and a refused insert says
// so. The insert runs on the store's worker and the reload is asked behind it, so it reads
// the new row.
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
    ++storeInFlight_;
    askStore<Stored>(context_.state.store.get(), this, [row](RecordStore& records) {
        return storedIf(insertHolding(records, row));
    })->whenBack([this](const StoreOutcome<Stored>& outcome) {
        --storeInFlight_;
        if (outcome.ok()) return;
        logStoreFailure(outcome.error, "holding insert");
        context_.dialogs.message(&context_.window, gbk("持有记录未能保存!"), defaultCaption(),
                                 DialogButtons::Ok);
    });
    reloadHoldingsGrid();
}

// One pass at a time on the page's worker: a tick that finds a pass running starts none. The
// pass gets a copy of the rows; each result comes back to the grid and goes on to the store's
// worker for cy, in the order the pass made them.
void HoldingsPage::onHoldingsTimerTick() {
    if (revaluationRunning_) return;
    std::vector<HoldingToRevalue> rows = holdingsToRevalue(*高级表格_持有);
    if (rows.empty()) return;
    StoreWorker* const store = context_.state.store.get();
    const auto deliver = [this, watched = QPointer<QObject>(this), store](RevaluedHolding result) {
        // The grid's call is queued before the update goes to the store: a reload whose read
        // sees the update lands after it, and keeps these values.
        postCall(watched, [this, result] { showRevaluation(result); });
        if (store == nullptr) return;
        // The holding's id keys it: a newer pass's update replaces one still waiting.
        std::int64_t id = 0;
        std::from_chars(result.id.data(), result.id.data() + result.id.size(), id);
        store->post(StoreJobKind::recomputed, id, [store, result](const CancelFlag&) {
            RecordStore& records = store->store();
            if (!writeRevaluation(records, result.id, result.price, result.amount, result.rate,
                                  result.storedTime)) {
                logStoreFailure(records.lastError(), "revaluation update");
            }
        });
    };
    revaluationRunning_ = true;
    const bool posted = runInBackground<bool>(
        *revaluationWorker_, this,
        [rows = std::move(rows), quotes = quotes_, clock = &context_.clock,
         deliver](const CancelFlag& cancel) {
            revaluationPass(rows, quotes, *clock, cancel, deliver);
            return true;
        },
        [this](Outcome<bool> outcome) {
            revaluationRunning_ = false;
            if (!outcome.ok()) logQuoteJobFailure(outcome.failure, "revaluation pass");
        });
    // No thread to be had: nothing runs, and a later tick tries again.
    if (!posted) revaluationRunning_ = false;
}

// Bound but empty, as the window defines them.
void HoldingsPage::onHoldingsGridReleased(int /*x*/, int /*y*/, int /*keys*/) {}
void HoldingsPage::onHoldingsListHeaderClicked(int /*column*/) {}

}  // namespace quovella
