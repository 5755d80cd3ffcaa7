#include "quotes/quote_exchange.h"

#include <exception>
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
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) return;
        queue_.push_back({std::move(codeList), std::move(done)});
    }
    wake_.notify_one();
    if (!startWorker()) {
        // No thread to be had: the request fails like an unreachable server, at once.
        Request request;
        {
            const std::lock_guard lock(mutex_);
            if (queue_.empty()) return;
            request = std::move(queue_.back());
            queue_.pop_back();
        }
        if (request.done) request.done({});
    }
}

bool QuoteExchange::startWorker() {
    const std::lock_guard lock(mutex_);
    if (worker_.joinable()) return true;
    try {
        worker_ = std::thread([this] { serve(); });
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void QuoteExchange::shutdown() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    cancel_->store(true);
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

bool QuoteExchange::idle() const {
    const std::lock_guard lock(mutex_);
    return queue_.empty() && !running_;
}

void QuoteExchange::serve() {
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            request = std::move(queue_.front());
            queue_.pop_front();
            running_ = true;
        }
        std::string reply = fetchUrlBody(quoteRequestUrl(baseUrl_, request.codeList), options_);
        // A reply that arrives after shutdown began is nobody's any more.
        if (!cancel_->load() && request.done) request.done(std::move(reply));
        const std::lock_guard lock(mutex_);
        running_ = false;
    }
}

}  // namespace quovella
