// Start-up sequence (the window's created event) and the timer stop at shutdown.
#include <QLineEdit>
#include <filesystem>

#include "app/holdings/holdings_page.h"
#include "app/records/records_page.h"
#include "app/watch/watch_page.h"
#include "app/window/failure_log.h"
#include "app/window/main_window.h"
#include "records/record_store.h"
#include "ui/background.h"
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
// behind it there, and the records list's steps wait for its answer.
void MainWindow::connectRecordStore() {
    std::error_code error;
    if (!std::filesystem::exists(storePathIn(runDirectory_), error)) {
        recordsPage_->storeOpened({});
        return;
    }
    struct Opened {
        bool ok = false;
        std::string readSource;
        SqlError error;
    };
    ++storeInFlight_;
    runInBackground<Opened>(
        state_.store->worker(), this,
        [store = state_.store.get(), directory = runDirectory_](const CancelFlag&) {
            RecordStore& opened = store->store();
            const bool ok = opened.startUpOpen(directory);
            return Opened{ok, opened.readSource(), ok ? SqlError{} : opened.lastError()};
        },
        [this](Outcome<Opened> outcome) {
            --storeInFlight_;
            const bool ok = outcome.ok() && outcome.value->ok;
            if (!outcome.ok()) logStoreJobFailure(outcome.failure, "store open");
            if (outcome.ok() && !ok) logStoreFailure(outcome.value->error, "store open");
            状态条1->setPaneText(1, gbk(ok ? "连接成功" : "连接失败"));
            recordsPage_->storeOpened(ok ? outcome.value->readSource : std::string());
            if (!ok) return;
            recordsPage_->fillRecordsList();
            holdingsPage_->reloadHoldingsGrid();
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
