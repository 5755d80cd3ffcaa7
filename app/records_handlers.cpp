// Daily records: the store at start-up and the handlers the wiring binds for page "数据".
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <utility>

#include "app/background.h"
#include "app/main_window.h"
#include "app/records_colours.h"
#include "app/records_sort.h"
#include "records/records_browser.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"

namespace quovella {

namespace {

constexpr int kIdColumn = 0;
constexpr int kCodeColumn = 2;
constexpr int kChangeColumn = 11;

// Copies the picked row's id into the id box and pane 5, and its code into the condition
// box when asked to. A pick below the last row gives empty texts.
void pickRecordsRow(MainWindow& window, bool copyCode) {
    static const std::string picked = gbk("您选中的ID为：");
    const ListView& list = *window.超级列表框_数据表;
    const int row = list.selectedRow();
    if (copyCode) window.编辑框_条件->setText(toQt(list.itemText(row, kCodeColumn)));
    const std::string id = list.itemText(row, kIdColumn);
    window.按钮_删除选中->setEnabled(!id.empty());
    window.状态条1->setPaneText(5, picked + id);
    window.编辑框_选中ID->setText(toQt(id));
}

}  // namespace

void MainWindow::attachColourHook() {
    state_.colourHook->attach(parentWindow(), *超级列表框_数据表);
}

// Only called when "gp.mdb" exists: true when the store is open and its cursor bound.
bool MainWindow::startupOpenStore() {
    if (!state_.store) return false;
    return state_.store->startUpOpen(runDirectory());
}

void MainWindow::fillRecordsList() {
    readRecordsInBackground([store = state_.store.get()](const std::atomic<bool>& cancel) {
        return store != nullptr ? readSnapshotTable(*store, &cancel) : std::optional<TextTable>();
    });
}

// The read runs on the records worker through a connection of its own, and the rows'
// colours are made there too; the rows stay as they are until the whole result replaces
// them in one change. A later fill, search or delete makes a read in flight stale, and its
// result is dropped.
void MainWindow::readRecordsInBackground(RecordsRead read) {
    struct Read {
        std::optional<TextTable> rows;
        CellColourHook colours;
    };
    const unsigned long generation = ++recordsListGeneration_;
    rereadRecords_ = [this, read] { readRecordsInBackground(read); };
    ++recordsInFlight_;
    const bool posted = runInBackground<Read>(
        *recordsJobs_, this,
        [read](const std::atomic<bool>& cancel) {
            Read result{read(cancel), {}};
            if (result.rows) result.colours = recordsColourRules(*result.rows, kChangeColumn);
            return result;
        },
        [this, generation](Read result) {
            --recordsInFlight_;
            if (generation != recordsListGeneration_) return;
            rereadRecords_ = nullptr;
            // A statement the store refused leaves the list as it is.
            if (result.rows) showRecords(std::move(*result.rows), std::move(result.colours));
        });
    if (!posted) --recordsInFlight_;
}

bool MainWindow::backgroundIdle() const {
    return quotesIdle() && recordsInFlight_ == 0;
}

void MainWindow::showRecords(TextTable rows, CellColourHook colours) {
    // New rows: an order sorted from the old ones no longer fits them, even at equal count.
    ++recordsListGeneration_;
    超级列表框_数据表->replaceAllRows(std::move(rows));
    state_.colourHook->takeRules(colours);
}

void MainWindow::onSearchClicked() {
    if (!state_.store) return;
    readRecordsInBackground([store = state_.store.get(),
                             text = fromQt(编辑框_条件->text())](const std::atomic<bool>& cancel) {
        return searchSnapshotTable(*store, text, &cancel);
    });
}

void MainWindow::onDeleteSelectedClicked() {
    static const std::string deletedText = gbk("删除成功");
    static const std::string failedText = gbk("删除失败");
    const std::string id = fromQt(编辑框_选中ID->text());
    const bool deleted = state_.store && deleteSnapshot(*state_.store, id);
    if (deleted) {
        const int row = 超级列表框_数据表->findRow(id);
        if (row >= 0) {
            超级列表框_数据表->removeRow(row);
            // The rows below move up and their colours with them, before the message box
            // lets the list repaint.
            state_.colourHook->removeRow(row);
        }
        // A read in flight may still hold the deleted row: it starts again; a sort in flight
        // was made for rows that changed.
        if (rereadRecords_) {
            rereadRecords_();
        } else {
            ++recordsListGeneration_;
        }
    }
    dialogs().message(nullptr, deleted ? deletedText : failedText, defaultCaption(),
                      DialogButtons::Ok);
}

void MainWindow::onRecordsRowClicked() {
    pickRecordsRow(*this, true);
}

void MainWindow::onRecordsDoubleClicked(int /*x*/, int /*y*/, int /*keys*/) {
    pickRecordsRow(*this, false);
}

void MainWindow::onRecordsHeaderClicked(int column) {
    const SortDirection direction =
        单选框_正向->isChecked() ? SortDirection::forward : SortDirection::reverse;
    const std::optional<SortKind> kind = recordsColumnSortKind(column);
    if (!kind || 超级列表框_数据表->rowCount() == 0) return;
    // The keys are copied and sorted on the worker; the list changes only when the order
    // comes back, as one permutation of its rows. A later change of the list or a second
    // click makes the order stale.
    struct Sorted {
        std::vector<int> order;
        CellColourHook colours;
    };
    const unsigned long listGeneration = recordsListGeneration_;
    const unsigned long sortGeneration = ++recordsSortGeneration_;
    const std::array<int, 2> copied{column, kChangeColumn};
    ++recordsInFlight_;
    const bool posted = runInBackground<Sorted>(
        *recordsJobs_, this,
        [keys = 超级列表框_数据表->table().columns(copied), kind = *kind,
         direction](const std::atomic<bool>&) {
            Sorted sorted{sortedKeyOrder(keys, kind, direction), {}};
            sorted.colours = recordsColourRules(keys, 1, sorted.order);
            return sorted;
        },
        [this, listGeneration, sortGeneration](Sorted sorted) {
            --recordsInFlight_;
            if (listGeneration != recordsListGeneration_) return;
            if (sortGeneration != recordsSortGeneration_) return;
            // Rows moved: their colours move with them.
            if (applyRecordsOrder(*超级列表框_数据表, sorted.order)) {
                state_.colourHook->takeRules(sorted.colours);
            }
        });
    if (!posted) --recordsInFlight_;
}

// Bound but empty, as the window defines them.
void MainWindow::onRecordsLeftPressed(int /*x*/, int /*y*/, int /*keys*/) {}
void MainWindow::onRecordsLeftReleased(int /*x*/, int /*y*/, int /*keys*/) {}

}  // namespace quovella
