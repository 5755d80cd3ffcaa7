#pragma once
// What a purchase stores besides the form's own texts: the purchase date and the total
// purchase price (the code takes its exchange prefix by withExchangePrefix). All texts are
// GBK.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/date_time.h"

namespace quovella {

// YYYY-MM-DD, month and day on two digits.
std::string purchaseDateText(const LocalDateTime& date);

// The leading whole number of a shares text as a 32-bit count (1.5e3 gives 1, abc gives 0),
// saturating at the 32-bit range.
std::int32_t sharesCount(std::string_view shares);

// shares x price: the count times the price held as a float, multiplied in double,
// rounded to 2 decimals, then narrowed to float.
float totalPurchasePrice(std::string_view shares, std::string_view price);
// The total as stored: %.6g (1000 x 12.34 gives 12340, 100000 x 12.5 gives 1.25e+06).
std::string totalPurchaseText(std::string_view shares, std::string_view price);

}  // namespace quovella
