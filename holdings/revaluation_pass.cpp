#include "holdings/revaluation_pass.h"

#include <exception>
#include <optional>
#include <utility>

#include "holdings/holdings_store.h"
#include "holdings/revaluation.h"

namespace quovella {

RevaluationPass::RevaluationPass(const Clock* clock, std::shared_ptr<std::atomic<bool>> cancel)
    : clock_(clock != nullptr ? *clock : systemClock_), cancel_(std::move(cancel)) {}

RevaluationPass::~RevaluationPass() {
    stop();
}

bool RevaluationPass::start(std::vector<HoldingToRevalue> rows, QuoteSource source,
                            RecordStore* store, Deliver deliver) {
    if (busy_.load() || stopping()) return false;
    // The previous pass has ended (busy is false), so this join returns at once.
    if (thread_.joinable()) thread_.join();
    busy_.store(true);
    FetchOptions options = source.options();
    options.cancel = cancel_;
    source = QuoteSource(source.baseUrl(), std::move(options));
    try {
        thread_ = std::thread([this, rows = std::move(rows), source = std::move(source), store,
                               deliver = std::move(deliver)] {
            revaluationPass(rows, source, store, deliver);
            busy_.store(false);
        });
    } catch (const std::exception&) {
        // No thread to be had: nothing runs, nothing is reported, and a later tick tries again
        // instead of the flag blocking every pass for good.
        busy_.store(false);
        return false;
    }
    return true;
}

void RevaluationPass::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    cancel_->store(true);
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool RevaluationPass::stopping() const {
    if (cancel_->load()) return true;
    const std::lock_guard lock(mutex_);
    return stopping_;
}

bool RevaluationPass::pause() {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, kRowPause, [this] { return stopping_; });
}

std::string RevaluationPass::nowText() const {
    return timestampText(clock_.now());
}

void RevaluationPass::revaluationPass(const std::vector<HoldingToRevalue>& rows,
                                      const QuoteSource& source, RecordStore* store,
                                      const Deliver& deliver) {
    for (const HoldingToRevalue& holding : rows) {
        if (stopping()) return;
        revalueRow(holding, source, store, deliver);
        if (!pause()) return;
    }
}

void RevaluationPass::revalueRow(const HoldingToRevalue& holding, const QuoteSource& source,
                                 RecordStore* store, const Deliver& deliver) const {
    // The fetch holds no lock: a slow server must not stall the GUI thread's store work.
    const std::string price = source.currentPriceFor(holding.code);
    if (stopping()) return;
    // No price in the reply (a failed request, an unknown code, an error page): the row is
    // left as it is rather than booked at a price of 0.
    const std::optional<RevaluationTexts> texts = revalue(price, holding.shares, holding.price);
    if (!texts) return;
    deliver({holding.row, holding.id, holding.code, price, texts->amount, texts->rate, nowText()});
    // The store's time is taken anew, as the grid's was.
    if (store != nullptr) {
        writeRevaluation(*store, holding.id, price, texts->amount, texts->rate, nowText());
    }
}

}  // namespace quovella
