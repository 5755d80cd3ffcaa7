// Daily records: the store at start-up and the handlers the wiring binds for page "数据".
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "app/records/records_page.h"
#include "app/records/records_sort.h"
#include "app/window/failure_log.h"
#include "records/records_browser.h"
#include "records/records_order.h"
#include "ui/background.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"
#include "ui_core/records_colours.h"

namespace quovella {

namespace {

constexpr int kIdColumn = 0;
constexpr int kCodeColumn = 2;
constexpr int kChangeColumn = 11;

}  // namespace

// Copies the picked row's id into the id box and pane 5, and its code into the condition
// box when asked to. A pick below the last row gives empty texts.
void RecordsPage::pickRecordsRow(bool copyCode) {
    static const std::string picked = gbk("您选中的ID为：");
    const ListView& list = *超级列表框_数据表;
    const int row = list.selectedRow();
    if (copyCode) 编辑框_条件->setText(toQt(list.itemText(row, kCodeColumn)));
    const std::string id = list.itemText(row, kIdColumn);
    按钮_删除选中->setEnabled(!id.empty());
    context_.statusBar.setPaneText(5, picked + id);
    编辑框_选中ID->setText(toQt(id));
}

void RecordsPage::attachColourHook(ParentWindow& parent) {
    context_.state.colourHook->attach(parent, *超级列表框_数据表);
}

void RecordsPage::storeOpened(std::string readSource) {
    readSource_ = std::move(readSource);
    storeKnown_ = true;
    runNextStep();
}

// The list's steps (fill, search, delete, header click) change the same rows, so they run
// one at a time in the order asked, each on the list as the step before it left it. None
// starts before the store's open has answered.
void RecordsPage::enqueueStep(std::function<void()> step) {
    steps_.push_back(std::move(step));
    runNextStep();
}

// A step whose store job was asked with it: the job went to the store at once, so the store
// sees it in the order asked, and the step runs with its outcome once its turn and the
// store's answer have both come. The step does not hold its answer, so an answer that never
// comes holds nothing.
template <typename T>
void RecordsPage::enqueueStepAfter(std::shared_ptr<StoreAnswer<T>> answer,
                                   std::function<void(const StoreOutcome<T>&)> step) {
    enqueueStep([answer = std::move(answer), step = std::move(step)] { answer->whenBack(step); });
}

void RecordsPage::runNextStep() {
    if (ending_ || stepRunning_ || !storeKnown_ || steps_.empty()) return;
    stepRunning_ = true;
    const std::function<void()> step = std::move(steps_.front());
    steps_.pop_front();
    step();
}

void RecordsPage::stepDone() {
    stepRunning_ = false;
    runNextStep();
}

void RecordsPage::fillRecordsList() {
    enqueueStep([this] { readWholeList(); });
}

void RecordsPage::readWholeList() {
    if (readSource_.empty()) return stepDone();
    readRecordsInBackground([file = readSource_](const CancelFlag& cancel) {
        return readSnapshotTable(file, &cancel);
    });
}

// The read runs on the records worker through a connection of its own, and the rows'
// colours are made there too; the rows stay as they are until the whole result replaces
// them in one change.
void RecordsPage::readRecordsInBackground(RecordsRead read) {
    struct Read {
        RowsRead rows;
        CellColourHook colours;
    };
    const bool posted = runInBackground<Read>(
        *recordsWorker_, this,
        [read](const CancelFlag& cancel) {
            Read result{read(cancel), {}};
            if (result.rows.rows) {
                result.colours = recordsColourRules(*result.rows.rows, kChangeColumn);
            }
            return result;
        },
        [this](Outcome<Read> outcome) {
            // A statement the store refused leaves the list as it is.
            if (!outcome.ok()) {
                logStoreJobFailure(outcome.failure, "records read");
            } else if (!outcome.value->rows.rows) {
                logStoreFailure(outcome.value->rows.error, "records read");
            } else {
                showRecords(std::move(*outcome.value->rows.rows),
                            std::move(outcome.value->colours));
            }
            stepDone();
        });
    if (!posted) stepDone();
}

// The save went to the store when asked; its refill takes its place in the list's order
// then, so a search asked while the save waits still shows once it has landed.
void RecordsPage::refillAfter(std::shared_ptr<StoreAnswer<SaveOutcome>> save) {
    enqueueStepAfter<SaveOutcome>(std::move(save), [this](const StoreOutcome<SaveOutcome>& saved) {
        if (saved.value == SaveOutcome::duplicate) return stepDone();
        readWholeList();
    });
}

void RecordsPage::showRecords(TextTable rows, CellColourHook colours) {
    超级列表框_数据表->replaceAllRows(std::move(rows));
    context_.state.colourHook->takeRules(colours);
}

void RecordsPage::onSearchClicked() {
    if (!context_.state.store) return;
    enqueueStep([this, text = fromQt(编辑框_条件->text())] {
        readRecordsInBackground([file = readSource_, text](const CancelFlag& cancel) {
            return searchSnapshotTable(file, text, &cancel);
        });
    });
}

// The statement goes to the store at once, ahead of a save asked after it; the row leaves
// the list, and the message comes, when the delete's turn in the list and its answer have
// both come.
void RecordsPage::onDeleteSelectedClicked() {
    const std::string id = fromQt(编辑框_选中ID->text());
    const auto answer = askStore<Stored>(
        context_.state.store.get(), this,
        [id](RecordStore& records) { return storedIf(deleteSnapshot(records, id)); });
    deletesUntold_.push_back(answer);
    enqueueStepAfter<Stored>(
        answer, [this, answered = answer.get(), id](const StoreOutcome<Stored>& outcome) {
            if (ending_) return;  // told, if it failed, by the close
            std::erase_if(deletesUntold_,
                          [answered](const auto& untold) { return untold.get() == answered; });
            if (!outcome.ok()) {
                logStoreFailure(outcome.error, "delete");
                return endDelete(false, -1);
            }
            removeDeletedRow(id);
        });
}

// The deleted snapshot's row is looked for on the records worker, reading the list in place
// as a sort does: at a million rows the search alone would hold the GUI thread for tens of
// milliseconds.
void RecordsPage::removeDeletedRow(const std::string& id) {
    const bool posted = runInBackground<int>(
        *recordsWorker_, this,
        [table = &超级列表框_数据表->table(), id](const CancelFlag&) {
            return table->findRow(0, id);
        },
        [this](Outcome<int> found) {
            if (!found.ok()) logStoreJobFailure(found.failure, "delete");
            endDelete(true, found.ok() ? *found.value : -1);
        });
    if (!posted) endDelete(true, 超级列表框_数据表->findRow(id));
}

void RecordsPage::endDelete(bool deleted, int row) {
    if (row >= 0) {
        超级列表框_数据表->removeRow(row);
        // The rows below move up and their colours with them, before the message box lets
        // the list repaint.
        context_.state.colourHook->removeRow(row);
    }
    tellDeleted(deleted);
    stepDone();
}

void RecordsPage::tellDeleted(bool deleted) {
    static const std::string deletedText = gbk("删除成功");
    static const std::string failedText = gbk("删除失败");
    context_.dialogs.message(nullptr, deleted ? deletedText : failedText, defaultCaption(),
                             DialogButtons::Ok);
}

void RecordsPage::onRecordsRowClicked() {
    pickRecordsRow(true);
}

void RecordsPage::onRecordsDoubleClicked(int /*x*/, int /*y*/, int /*keys*/) {
    pickRecordsRow(false);
}

// The direction is the one chosen at the click. The keys are copied when the click's turn
// comes, and sorted on the worker; the list changes when the order comes back, as one
// permutation of its rows.
void RecordsPage::onRecordsHeaderClicked(int column) {
    const SortDirection direction =
        单选框_正向->isChecked() ? SortDirection::forward : SortDirection::reverse;
    const std::optional<SortKind> kind = recordsColumnSortKind(column);
    if (!kind) return;
    enqueueStep([this, column, kind = *kind, direction] { sortRecords(column, kind, direction); });
}

void RecordsPage::sortRecords(int column, SortKind kind, SortDirection direction) {
    if (超级列表框_数据表->rowCount() == 0) return stepDone();
    struct Sorted {
        std::vector<int> order;
        TextTable::RowIndex rows;
        CellColourHook colours;
    };
    // The worker reads the list's keys and the hook's rules in place, and moves copies of
    // the rows' index and of the rules: at a million rows even copying the keys would hold
    // the GUI thread for a hundred milliseconds and more. Nothing changes the rows or the
    // rules while this step runs: every change of them is a step of its own, and the window
    // ends the worker before the list and the hook go.
    const bool posted = runInBackground<Sorted>(
        *recordsWorker_, this,
        [table = &超级列表框_数据表->table(), hook = context_.state.colourHook.get(), column, kind,
         direction](const CancelFlag&) {
            Sorted sorted{sortedKeyOrder(*table, column, kind, direction), table->rowIndex(),
                          *hook};
            sorted.rows.permute(sorted.order);
            sorted.colours.moveRows(landingRows(sorted.order));
            return sorted;
        },
        [this](Outcome<Sorted> outcome) {
            if (!outcome.ok()) logStoreJobFailure(outcome.failure, "column sort");
            // Rows moved: their colours move with them.
            if (outcome.ok() &&
                applyRecordsOrder(*超级列表框_数据表, outcome.value->order, &outcome.value->rows)) {
                context_.state.colourHook->takeRules(outcome.value->colours);
            }
            stepDone();
        });
    if (!posted) stepDone();
}

// Bound but empty, as the window defines them.
void RecordsPage::onRecordsLeftPressed(int /*x*/, int /*y*/, int /*keys*/) {}
void RecordsPage::onRecordsLeftReleased(int /*x*/, int /*y*/, int /*keys*/) {}

}  // namespace quovella
