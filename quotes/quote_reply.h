#pragma once
// Reading a quote reply: the pure half of the quote protocol, without the network.
// A reply is cut at ";" into entries (entry i belongs to the i-th requested code), an
// entry's quote content is its first double-quoted text, and a content is cut at "," into
// fields numbered from 1 (1 name, 2 open, 3 previous close, 4 current price, 5 high, 6 low,
// 9 volume, 10 amount, 31 date, 32 time).
#include <string>
#include <string_view>

#include "quotes/quote_table.h"

namespace quovella {

// Writes rows 1..n of the table from the reply, n being the number of entries minus one
// (0 for fewer than two entries; the last entry is never read), records n in the table and
// returns it. Entries beyond the table's rows and fields beyond 36 are dropped; cells the
// reply does not reach keep their text.
int fillQuoteTableFromReply(std::string_view reply, QuoteTable& table);

// The text between the reply's first two double quotes (empty when there are not two).
std::string firstQuotedText(std::string_view reply);

// A content the server knows: not empty and not "FAILED".
bool isKnownQuoteContent(std::string_view content);

// The 4th element of the whole reply cut at "," (the current price of a one-code reply);
// empty when there are fewer than 4 elements.
std::string currentPriceInReply(std::string_view reply);

}  // namespace quovella
