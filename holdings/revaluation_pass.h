#pragma once
// One holdings revaluation pass, run as a job on the holdings page's worker. The GUI thread
// hands it a copy of the grid rows to revalue; the pass fetches each current price and hands
// each result on, for the GUI thread's cells and the store's update. It touches neither the
// grid nor the store itself.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "common/worker.h"
#include "quotes/quote_source.h"

namespace quovella {

// A holdings grid row as the pass reads it: cells 0, 2, 4 and 5.
struct HoldingToRevalue {
    int row = 0;
    std::string id;
    std::string code;
    std::string shares;
    std::string price;
};

// What the pass writes into cells 7 to 10 of the row that held this id and code, and the
// time for the store's update, taken anew after the cells' time.
struct RevaluedHolding {
    int row = 0;
    std::string id;
    std::string code;
    std::string price;
    std::string amount;
    std::string rate;
    std::string time;
    std::string storedTime;
};

inline constexpr std::chrono::milliseconds kRevaluationRowPause{100};

// The pass over rows in order, with the pause after each; a row without a price is left as
// it is. It ends early once cancel is set. deliver runs on the pass's thread.
void revaluationPass(const std::vector<HoldingToRevalue>& rows, const QuoteSource& source,
                     const Clock& clock, const CancelFlag& cancel,
                     const std::function<void(RevaluedHolding)>& deliver);

}  // namespace quovella
