// Daily records: the store at start-up and the handlers the wiring binds for page "数据".
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <utility>

#include "app/background.h"
#include "app/failure_log.h"
#include "app/records_colours.h"
#include "app/records_page.h"
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

// Only called when "gp.mdb" exists: true when the store is open and its cursor bound.
bool RecordsPage::startupOpenStore() {
    if (!context_.state.store) return false;
    return context_.state.store->startUpOpen(context_.runDirectory);
}

void RecordsPage::fillRecordsList() {
    readRecordsInBackground([store = context_.state.store.get()](const std::atomic<bool>& cancel) {
        return store != nullptr ? readSnapshotTable(*store, &cancel) : std::optional<TextTable>();
    });
}

// The read runs on the records worker through a connection of its own, and the rows'
// colours are made there too; the rows stay as they are until the whole result replaces
// them in one change. A later fill, search or delete makes a read in flight stale, and its
// result is dropped.
void RecordsPage::readRecordsInBackground(RecordsRead read) {
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
            if (!result.rows) {
                if (context_.state.store) logStoreFailure(*context_.state.store, "records read");
                return;
            }
            showRecords(std::move(*result.rows), std::move(result.colours));
        });
    if (!posted) --recordsInFlight_;
}

void RecordsPage::showRecords(TextTable rows, CellColourHook colours) {
    // New rows: an order sorted from the old ones no longer fits them, even at equal count.
    ++recordsListGeneration_;
    超级列表框_数据表->replaceAllRows(std::move(rows));
    context_.state.colourHook->takeRules(colours);
}

void RecordsPage::onSearchClicked() {
    if (!context_.state.store) return;
    readRecordsInBackground([store = context_.state.store.get(),
                             text = fromQt(编辑框_条件->text())](const std::atomic<bool>& cancel) {
        return searchSnapshotTable(*store, text, &cancel);
    });
}

void RecordsPage::onDeleteSelectedClicked() {
    static const std::string deletedText = gbk("删除成功");
    static const std::string failedText = gbk("删除失败");
    const std::string id = fromQt(编辑框_选中ID->text());
    const bool deleted = context_.state.store && deleteSnapshot(*context_.state.store, id);
    if (!deleted && context_.state.store) logStoreFailure(*context_.state.store, "delete");
    if (deleted) {
        const int row = 超级列表框_数据表->findRow(id);
        if (row >= 0) {
            超级列表框_数据表->removeRow(row);
            // The rows below move up and their colours with them, before the message box
            // lets the list repaint.
            context_.state.colourHook->removeRow(row);
        }
        // A read in flight may still hold the deleted row: it starts again; a sort in flight
        // was made for rows that changed.
        if (rereadRecords_) {
            rereadRecords_();
        } else {
            ++recordsListGeneration_;
        }
    }
    context_.dialogs.message(nullptr, deleted ? deletedText : failedText, defaultCaption(),
                             DialogButtons::Ok);
}

void RecordsPage::onRecordsRowClicked() {
    pickRecordsRow(true);
}

void RecordsPage::onRecordsDoubleClicked(int /*x*/, int /*y*/, int /*keys*/) {
    pickRecordsRow(false);
}

void RecordsPage::onRecordsHeaderClicked(int column) {
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
                context_.state.colourHook->takeRules(sorted.colours);
            }
        });
    if (!posted) --recordsInFlight_;
}

// Bound but empty, as the window defines them.
void RecordsPage::onRecordsLeftPressed(int /*x*/, int /*y*/, int /*keys*/) {}
void RecordsPage::onRecordsLeftReleased(int /*x*/, int /*y*/, int /*keys*/) {}

}  // namespace quovella
