#pragma once
// The holdings revaluation pass on a worker thread. The GUI thread hands it the grid rows
// to revalue; the worker fetches each current price without any lock, updates cy under
// the store lock, and hands each result back through a callback that must carry it to the
// GUI thread. One pass at a time: a start while a pass runs starts none.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/date_time.h"
#include "quotes/quote_source.h"
#include "records/record_store.h"

namespace quovella {

// A holdings grid row as the pass reads it: cells 0, 2, 4 and 5.
struct HoldingToRevalue {
    int row = 0;
    std::string id;
    std::string code;
    std::string shares;
    std::string price;
};

// What the pass writes into cells 7 to 10 of the row that held this id and code.
struct RevaluedHolding {
    int row = 0;
    std::string id;
    std::string code;
    std::string price;
    std::string amount;
    std::string rate;
    std::string time;
};

class RevaluationPass {
  public:
    // Called on the worker thread, once per revalued row.
    using Deliver = std::function<void(RevaluedHolding)>;

    static constexpr std::chrono::milliseconds kRowPause{100};

    // clock: must stay alive as long as this object; null means a system clock of its own.
    // cancel: ends the fetches of a pass when set, by stop() or by whoever shares it.
    explicit RevaluationPass(const Clock* clock, std::shared_ptr<std::atomic<bool>> cancel =
                                                     std::make_shared<std::atomic<bool>>(false));
    // Stops and waits for a running pass.
    ~RevaluationPass();
    RevaluationPass(const RevaluationPass&) = delete;
    RevaluationPass& operator=(const RevaluationPass&) = delete;

    bool busy() const { return busy_.load(); }
    // Starts a pass over the rows unless one runs or the object was stopped; store may be
    // null (nothing is stored then). False when no pass was started.
    bool start(std::vector<HoldingToRevalue> rows, QuoteSource source, RecordStore* store,
               Deliver deliver);
    // Asks a running pass to end before its next row, cancels a fetch in flight (it gives up
    // within about a second, not at its time-outs) and waits for it. No pass starts
    // afterwards.
    void stop();

  private:
    // One pass over the rows, ending early when stopped.
    void revaluationPass(const std::vector<HoldingToRevalue>& rows, const QuoteSource& source,
                         RecordStore* store, const Deliver& deliver);
    void revalueRow(const HoldingToRevalue& holding, const QuoteSource& source, RecordStore* store,
                    const Deliver& deliver) const;
    // False when stopped meanwhile.
    bool pause();
    bool stopping() const;
    std::string nowText() const;

    SystemClock systemClock_;
    const Clock& clock_;
    std::atomic<bool> busy_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    // Shared with the fetches of the pass, which give up once it is set.
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::thread thread_;
};

}  // namespace quovella
