// Daily records: the store at start-up and the handlers the wiring binds for page "数据".
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "app/main_window.h"
#include "app/records_sort.h"
#include "records/records_browser.h"
#include "ui/list_view.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"

namespace quovella {

namespace {

// Pending events get through at most this often while a long fill appends rows, so the
// window stays responsive without the event processing dominating the fill.
constexpr qint64 kEventSliceMs = 10;
// Rows appended between two looks at the clock.
constexpr std::size_t kAppendBatch = 512;

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
    const unsigned long generation = ++recordsListGeneration_;
    超级列表框_数据表->removeAllRows();
    recolourRecordsList();
    // Read under the store lock into memory first; events are let through only afterwards.
    std::vector<SnapshotRow> rows;
    if (state_.store) rows = readAllSnapshots(*state_.store);
    if (!appendRecordsRows(std::move(rows), generation)) return;
    recolourRecordsList();
}

bool MainWindow::appendRecordsRows(std::vector<std::vector<std::string>> rows,
                                   unsigned long generation) {
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (std::size_t first = 0; first < rows.size(); first += kAppendBatch) {
        const std::size_t last = std::min(rows.size(), first + kAppendBatch);
        std::vector<std::vector<std::string>> batch;
        batch.reserve(last - first);
        for (std::size_t i = first; i < last; ++i) batch.push_back(std::move(rows[i]));
        超级列表框_数据表->appendRows(std::move(batch));
        if (sinceEvents.elapsed() < kEventSliceMs) continue;
        QCoreApplication::processEvents();
        // A handler that ran meanwhile refilled the list: the rest of ours is stale.
        if (generation != recordsListGeneration_) return false;
        sinceEvents.restart();
    }
    return true;
}

void MainWindow::recolourRecordsList() {
    CellColourHook& hook = *state_.colourHook;
    hook.resetRules();
    const ListView& list = *超级列表框_数据表;
    for (int row = 0; row < list.rowCount(); ++row) {
        const std::string change = list.itemText(row, kChangeColumn);
        const std::optional<RowColour> colour = rowColour(change);
        // The change text twice: the rule is always added.
        if (colour) hook.addRowRuleIfMatch(row, colour->text, colour->background, change, change);
    }
}

void MainWindow::onSearchClicked() {
    if (!state_.store) return;
    std::optional<std::vector<SnapshotRow>> found =
        searchSnapshots(*state_.store, fromQt(编辑框_条件->text()));
    if (!found) return;  // a statement the store refused leaves the list as it is
    ++recordsListGeneration_;
    超级列表框_数据表->removeAllRows();
    超级列表框_数据表->appendRows(std::move(*found));
    recolourRecordsList();
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
            recolourRecordsList();  // before the message box lets the list repaint
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
    // Rows moved: their colours must move with them.
    if (sortRecordsList(*超级列表框_数据表, column, direction)) recolourRecordsList();
}

// Bound but empty, as the window defines them.
void MainWindow::onRecordsLeftPressed(int /*x*/, int /*y*/, int /*keys*/) {}
void MainWindow::onRecordsLeftReleased(int /*x*/, int /*y*/, int /*keys*/) {}

}  // namespace quovella
