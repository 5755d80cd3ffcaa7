// Daily snapshot saving: the double-click handler of the watch grid.
#include <string>
#include <vector>

#include "app/watch/watch_page.h"
#include "app/window/failure_log.h"
#include "records/snapshot.h"
#include "ui/background.h"
#include "ui/grid.h"

namespace quovella {

namespace {

// Value 4: 当前价格.
constexpr std::size_t kPriceValue = 4;

// The selected cells row by row, and within a row column by column.
std::vector<std::string> selectedCellTexts(const Grid& grid, const GridRange& range) {
    std::vector<std::string> cells;
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            cells.push_back(grid.cellText(row, column).value_or(std::string()));
        }
    }
    return cells;
}

}  // namespace

void WatchPage::onWatchGridDoubleClicked(int /*x*/, int /*y*/, int /*keys*/) {
    static const std::string nothingSelected = gbk("未选择表格!");
    static const std::string incompleteRow = gbk("选中的不是一整行行情，未保存记录!");
    static const std::string questionCaption = gbk("提示信息");
    const GridRange range = 高级表格_股票->selectedRange();
    if (range.firstRow == -1 || range.firstColumn == -1) {
        dialogs().message(nullptr, nothingSelected, defaultCaption(), DialogButtons::Ok);
        return;
    }
    const std::vector<std::string> values =
        snapshotValues(snapshotText(selectedCellTexts(*高级表格_股票, range)));
    // Without a whole quote row the question cannot be formed, or the row would be stored
    // with columns missing; a row without a current price has no quote yet (still loading,
    // the load failed, or it turned "FAILED") and would store empty prices as today's.
    const std::optional<std::string> question = saveQuestion(values);
    if (!question || values.size() < kSnapshotValueCount || values[kPriceValue].empty()) {
        dialogs().message(&context_.window, incompleteRow, defaultCaption(), DialogButtons::Ok);
        return;
    }
    if (dialogs().message(&context_.window, *question, questionCaption, DialogButtons::OkCancel) !=
        DialogAnswer::Ok) {
        return;
    }
    if (!state().store) return;
    saveSnapshotValues(values);
}

// The save runs on the store's worker, behind whatever was asked of the store before it; the
// message and the records list's refill come when its answer is back.
void WatchPage::saveSnapshotValues(std::vector<std::string> values) {
    struct Saved {
        SaveOutcome outcome = SaveOutcome::failed;
        SqlError error;
    };
    StoreWorker* const store = state().store.get();
    ++savesInFlight_;
    const auto done = [this, code = values[0]](Outcome<Saved> saved) {
        --savesInFlight_;
        if (!saved.ok()) logStoreJobFailure(saved.failure, "snapshot save");
        const SaveOutcome outcome = saved.ok() ? saved.value->outcome : SaveOutcome::failed;
        if (outcome == SaveOutcome::duplicate) {
            dialogs().message(&context_.window, duplicateMessage(code), defaultCaption(),
                              DialogButtons::Ok);
            return;
        }
        // A refused save (a busy or read-only store, a missing column) must not look like one
        // that worked.
        if (outcome == SaveOutcome::failed) {
            if (saved.ok()) logStoreFailure(saved.value->error, "snapshot save");
            dialogs().message(&context_.window, gbk("记录未能保存!"), defaultCaption(),
                              DialogButtons::Ok);
        }
        // Also after a refused insert: the list then shows what the store holds.
        emit recordsChanged();
    };
    // At most one snapshot per stock and day: checked against the store itself, so a row
    // hidden by a search still counts.
    const bool posted = runInBackground<Saved>(
        store->worker(), this,
        [store, values = std::move(values),
         today = dateText(context_.clock.now())](const CancelFlag&) {
            RecordStore& records = store->store();
            const SaveOutcome outcome = saveSnapshot(records, values, today);
            return Saved{outcome,
                         outcome == SaveOutcome::failed ? records.lastError() : SqlError{}};
        },
        done);
    if (!posted) done(Outcome<Saved>{Saved{}, {}});
}

}  // namespace quovella
