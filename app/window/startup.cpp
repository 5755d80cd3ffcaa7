// Start-up sequence (the window's created event) and the timer stop at shutdown.
#include <QLineEdit>
#include <filesystem>

#include "app/holdings/holdings_page.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/failure_log.h"
#include "app/window/main_window.h"
#include "app/window/store_answer.h"
#include "records/record_store.h"
#include "ui/qt_text.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

namespace quovella {

void MainWindow::runStartup() {
    recordsPage_->attachColourHook(parentWindow_);
    state_.refreshBusy = false;
    // The store and its worker exist before it is opened.
    state_.store = std::make_unique<StoreWorker>();
    holdingsPage_->prepareHoldingsGridHeader();
    connectRecordStore();
    watchPage_->loadWatchList();
    watchPage_->applyStartupSettings();
    applyPlaceholderHints();
    recordsPage_->applyStartupState();
}

// The open runs on the store's worker; what the user asks of the store meanwhile is queued
// behind it there. The records list's fill is its first step, ahead of any search asked
// while the store opens, and the list's steps wait for the open's answer.
void MainWindow::connectRecordStore() {
    recordsPage_->fillRecordsList();
    std::error_code error;
    if (!std::filesystem::exists(storePathIn(runDirectory_), error)) {
        recordsPage_->storeOpened({});
        return;
    }
    ++storeInFlight_;
    const auto opened = askStore<std::string>(
        state_.store.get(), this,
        [directory = runDirectory_](RecordStore& store) -> std::optional<std::string> {
            if (!store.startUpOpen(directory)) return std::nullopt;
            return store.readSource();
        });
    opened->whenBack([this](const StoreOutcome<std::string>& outcome) {
        --storeInFlight_;
        if (!outcome.ok()) logStoreFailure(outcome.error, "store open");
        状态条1->setPaneText(1, gbk(outcome.ok() ? "连接成功" : "连接失败"));
        recordsPage_->storeOpened(outcome.value.value_or(std::string()));
        if (outcome.ok()) holdingsPage_->reloadHoldingsGrid();
    });
}

void MainWindow::applyPlaceholderHints() {
    const HoldingsPage& holdings = *holdingsPage_;
    const std::pair<QLineEdit*, const char*> hints[] = {
        {holdings.编辑框_股票代码, "股票代码"},       {holdings.编辑框_股票名称, "股票名称"},
        {holdings.编辑框_购买股数, "购买股数"},       {holdings.编辑框_购买单价, "购买单价"},
        {recordsPage_->编辑框_条件, "股票代码/名称"},
    };
    for (const auto& [edit, hint] : hints) edit->setPlaceholderText(toQt(gbk(hint)));
}

void MainWindow::stopTimers() {
    watchPage_->时钟_刷新周期->setInterval(0);
    holdingsPage_->时钟_更新持有->setInterval(0);
    recordsPage_->时钟1->setInterval(0);
}

}  // namespace quovella
