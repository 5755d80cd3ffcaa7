#pragma once
// The main window over a record store with seeded holdings and a quote server whose
// replies the test fixes and can hold back; the revaluation timer is stopped so each test
// ticks it itself.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <condition_variable>
#include <thread>

#include "app/holdings/holdings_page.h"
#include "app/watch_window_fixture.h"
#include "holdings/holdings_store.h"
#include "holdings/revaluation_pass.h"
#include "records/store_schema.h"
#include "ui/list_view.h"

namespace quovella {

namespace testing {

// A holding in cy before start-up; amount, when given, is written as its 盈亏金额.
struct SeedHolding {
    const char* code;
    const char* shares = "100";
    const char* price = "9.87";
    const char* amount = nullptr;
};

class HoldingsWindowFixture : public WindowFixture {
  protected:
    virtual bool withStore() const { return true; }
    virtual std::vector<SeedHolding> seedHoldings() const { return {}; }

    void SetUp() override {
        ASSERT_TRUE(runDirectory_.isValid());
        ASSERT_TRUE(server_.start());
        if (withStore()) seedStore(storePathIn(runDirectory()));
        prepareRunDirectory(runDirectory());
        window_ = std::make_unique<MainWindow>(state_, runDirectory(), server_.baseUrl(),
                                               WindowServices{&dialogs_, &clock_, shortTimeouts()});
        window_->holdingsPage().时钟_更新持有->setInterval(0);
        window_->show();
        settle();
    }

    void seedStore(const std::string& path) {
        ASSERT_EQ(makeEmptyStore(path), MakeStoreResult::created);
        RecordStore store;
        ASSERT_TRUE(store.open(path, "") && store.bindCursor());
        int id = 0;
        for (const SeedHolding& seed : seedHoldings()) {
            ++id;
            ASSERT_TRUE(insertHolding(
                store, {"2020-08-07", seed.code, gbk("伊利股份"), seed.shares, seed.price, "987"}));
            if (seed.amount == nullptr) continue;
            ASSERT_TRUE(
                writeRevaluation(store, std::to_string(id), "9.00", seed.amount, "-1", "x"));
        }
    }

    Grid& grid() { return *window().holdingsPage().高级表格_持有; }
    std::string cell(int row, int column) {
        return grid().cellText(row, column).value_or("<missing>");
    }
    std::vector<std::string> gridRow(int row) {
        std::vector<std::string> texts;
        for (int c = 0; c < 11; ++c) texts.push_back(cell(row, c));
        return texts;
    }
    std::vector<std::vector<std::string>> stored() {
        return readAllHoldings(state_.store->store());
    }

    void tick() { emit window().holdingsPage().时钟_更新持有->tick(); }
    bool busy() { return window().holdingsPage().revaluationBusy(); }
    // Lets events through until the pass has ended, its results reached the grid and its
    // updates the store.
    bool waitForPass() {
        QElapsedTimer waited;
        waited.start();
        while (busy() || !state_.store->worker().idle()) {
            if (waited.elapsed() > 20000) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        QCoreApplication::processEvents();
        return true;
    }

    FeedServer server_{fixedQuotes()};
};

}  // namespace testing
}  // namespace quovella
