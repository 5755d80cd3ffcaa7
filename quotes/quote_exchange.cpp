#include "quotes/quote_exchange.h"

#include <utility>

namespace quovella {

QuoteExchange::QuoteExchange(std::string baseUrl, FetchOptions options)
    : baseUrl_(std::move(baseUrl)), options_(std::move(options)) {
    options_.cancel = cancel_;
}

QuoteExchange::~QuoteExchange() {
    shutdown();
}

void QuoteExchange::requestQuoteReply(std::string codeList, Done done) {
    if (cancel_->load()) return;
    auto job = [this, codeList = std::move(codeList), done](const std::atomic<bool>&) {
        FetchResult result = fetchUrl(quoteRequestUrl(baseUrl_, codeList), options_);
        lastError_.keep(result.error);
        // A reply that arrives after shutdown began is nobody's any more.
        if (!cancel_->load() && done) done(std::move(result.body));
    };
    if (!jobs_.post(std::move(job)) && !cancel_->load() && done) done({});
}

void QuoteExchange::shutdown() {
    cancel_->store(true);
    jobs_.shutdown();
}

}  // namespace quovella
