#pragma once
// The revaluation of one holding against a current price: value and cost in float, the
// profit or loss amount and rate rounded to 3 decimals, as the texts the grid and the
// store take (%.6g).
#include <optional>
#include <string>
#include <string_view>

namespace quovella {

struct RevaluationTexts {
    std::string amount;  // 盈亏金额
    std::string rate;    // 盈亏率, a percentage without "%"
};

// True when the text starts (after blanks, full-width forms folded) with a number.
bool hasLeadingNumber(std::string_view text);

// Nothing when the current price text holds no number: a failed or unknown quote must not
// be booked as a price of 0, which would store a loss that never happened. The rate is
// empty when the cost is 0 (it has no value then), and so is any amount or rate that is not
// a finite number.
std::optional<RevaluationTexts> revalue(std::string_view currentPrice, std::string_view shares,
                                        std::string_view unitPrice);

}  // namespace quovella
