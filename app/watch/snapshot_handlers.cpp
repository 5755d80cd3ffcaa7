// Daily snapshot saving: the double-click handler of the watch grid.
#include <string>
#include <vector>

#include "app/watch/watch_page.h"
#include "app/window/failure_log.h"
#include "records/snapshot.h"
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

// The save goes to the store's worker at once, behind whatever was asked of the store before
// it; its message comes with the answer, and the records list's refill takes its place in
// the list's order now.
void WatchPage::saveSnapshotValues(std::vector<std::string> values) {
    const std::string code = values[0];
    ++savesInFlight_;
    // At most one snapshot per stock and day: checked against the store itself, so a row
    // hidden by a search still counts. A refused insert gives no value.
    const auto saved =
        askStore<SaveOutcome>(state().store.get(), this,
                              [values = std::move(values), today = dateText(context_.clock.now())](
                                  RecordStore& records) -> std::optional<SaveOutcome> {
                                  const SaveOutcome outcome = saveSnapshot(records, values, today);
                                  if (outcome == SaveOutcome::failed) return std::nullopt;
                                  return outcome;
                              });
    saved->whenBack([this, code](const StoreOutcome<SaveOutcome>& outcome) {
        --savesInFlight_;
        if (outcome.value == SaveOutcome::duplicate) {
            dialogs().message(&context_.window, duplicateMessage(code), defaultCaption(),
                              DialogButtons::Ok);
            return;
        }
        // A refused save (a busy or read-only store, a missing column) must not look like one
        // that worked.
        if (!outcome.ok()) {
            logStoreFailure(outcome.error, "snapshot save");
            dialogs().message(&context_.window, gbk("记录未能保存!"), defaultCaption(),
                              DialogButtons::Ok);
        }
    });
    // Also after a refused insert: the list then shows what the store holds.
    emit snapshotSaveAsked(saved);
}

}  // namespace quovella
