#include "holdings/revaluation_pass.h"

#include <optional>
#include <thread>

#include "holdings/revaluation.h"

namespace quovella {

namespace {

// How often a pause looks at the cancel flag.
constexpr std::chrono::milliseconds kPauseSlice{10};

// False when cancelled meanwhile.
bool pause(const CancelFlag& cancel) {
    const auto end = std::chrono::steady_clock::now() + kRevaluationRowPause;
    while (!cancel.load()) {
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return true;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, kPauseSlice));
    }
    return false;
}

}  // namespace

void revaluationPass(const std::vector<HoldingToRevalue>& rows, const QuoteSource& source,
                     const Clock& clock, const CancelFlag& cancel,
                     const std::function<void(RevaluedHolding)>& deliver) {
    for (const HoldingToRevalue& holding : rows) {
        if (cancel.load()) return;
        const std::string price = source.currentPriceFor(holding.code);
        if (cancel.load()) return;
        // No price in the reply (a failed request, an unknown code, an error page): the row is
        // left as it is rather than booked at a price of 0.
        const std::optional<RevaluationTexts> texts = revalue(price, holding.shares, holding.price);
        if (texts) {
            const std::string time = timestampText(clock.now());
            deliver({holding.row, holding.id, holding.code, price, texts->amount, texts->rate, time,
                     timestampText(clock.now())});
        }
        if (!pause(cancel)) return;
    }
}

}  // namespace quovella
