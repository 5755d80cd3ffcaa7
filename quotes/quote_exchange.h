#pragma once
// Quote requests off the caller's thread: one worker owns the transfers and runs them one
// after another, in the order asked, and hands each reply to its callback on the worker.
// A GUI posts the reply on to its own thread from there, so it never waits for the network.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "quotes/quote_fetch.h"

namespace quovella {

class QuoteExchange {
  public:
    // Runs on the worker thread with the reply (empty on any failure).
    using Done = std::function<void(std::string reply)>;

    // options.cancel is replaced by the exchange's own flag (cancelFlag()).
    QuoteExchange(std::string baseUrl, FetchOptions options);
    // shutdown().
    ~QuoteExchange();
    QuoteExchange(const QuoteExchange&) = delete;
    QuoteExchange& operator=(const QuoteExchange&) = delete;

    // Queues one request for the codes joined by ","; nothing after shutdown().
    void requestQuoteReply(std::string codeList, Done done);
    // Cancels the request in flight (it ends within kCancelLatency), drops the queued ones
    // and waits for the worker. No callback runs once this returns, and none starts later.
    void shutdown();
    // True when nothing is queued or running and every callback has returned.
    bool idle() const;

    // Set by shutdown(); anyone whose fetches should end with the exchange shares it.
    std::shared_ptr<std::atomic<bool>> cancelFlag() const { return cancel_; }

  private:
    struct Request {
        std::string codeList;
        Done done;
    };
    void serve();
    bool startWorker();

    std::string baseUrl_;
    FetchOptions options_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> queue_;
    bool running_ = false;  // a request is being served
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace quovella
