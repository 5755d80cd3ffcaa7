#include "quotes/quote_source.h"

#include <utility>

#include "quotes/quote_reply.h"
#include "quovella_config.h"

namespace quovella {

std::string defaultQuoteBaseUrl() {
    return config::kQuoteUrl;
}

QuoteSource::QuoteSource(std::string baseUrl, FetchOptions options)
    : baseUrl_(std::move(baseUrl)), options_(options) {}

FetchResult QuoteSource::fetchQuoteResult(std::string_view codeList) const {
    return fetchUrl(quoteRequestUrl(baseUrl_, codeList), options_);
}

std::string QuoteSource::fetchQuoteReply(std::string_view codeList) const {
    return fetchQuoteResult(codeList).body;
}

int QuoteSource::fillQuoteTable(std::string_view codeList, QuoteTable& table) const {
    return fillQuoteTableFromReply(fetchQuoteReply(codeList), table);
}

std::string QuoteSource::quoteContentFor(std::string_view code) const {
    return firstQuotedText(fetchQuoteReply(code));
}

bool QuoteSource::codeExists(std::string_view code) const {
    return isKnownQuoteContent(quoteContentFor(code));
}

std::string QuoteSource::currentPriceFor(std::string_view code) const {
    return currentPriceInReply(fetchQuoteReply(code));
}

}  // namespace quovella
