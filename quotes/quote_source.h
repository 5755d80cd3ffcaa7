#pragma once
// The quote server as the rest of the program sees it: the operations of the quote
// protocol against one base URL ("http://host:port/"). Each operation makes one blocking
// request; an object may be shared by several threads.
#include <string>
#include <string_view>

#include "quotes/quote_fetch.h"
#include "quotes/quote_table.h"

namespace quovella {

// The base URL the build was configured with (QUOVELLA_QUOTE_URL).
std::string defaultQuoteBaseUrl();

class QuoteSource {
  public:
    explicit QuoteSource(std::string baseUrl = defaultQuoteBaseUrl(), FetchOptions options = {});

    const std::string& baseUrl() const { return baseUrl_; }
    const FetchOptions& options() const { return options_; }

    // The reply for codes joined by ",", with why the exchange failed when it did.
    FetchResult fetchQuoteResult(std::string_view codeList) const;
    // The reply alone (empty on any failure).
    std::string fetchQuoteReply(std::string_view codeList) const;
    // Fetches the reply for the code list, writes it into the table and returns the quote
    // count n (also recorded in the table).
    int fillQuoteTable(std::string_view codeList, QuoteTable& table) const;
    // The quote content of the code (empty on failure or when the server has none).
    std::string quoteContentFor(std::string_view code) const;
    // True when the server has a quote for the code other than "FAILED".
    bool codeExists(std::string_view code) const;
    // The 4th "," element of the code's reply (its current price), or empty.
    std::string currentPriceFor(std::string_view code) const;

  private:
    std::string baseUrl_;
    FetchOptions options_;
};

}  // namespace quovella
