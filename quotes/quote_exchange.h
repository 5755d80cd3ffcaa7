#pragma once
// Quote requests off the caller's thread: a job queue's worker runs them one after another,
// in the order asked, and hands each reply to its callback on that worker. A GUI posts the
// reply on to its own thread from there, so it never waits for the network.
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "common/job_queue.h"
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

    // Queues one request for the codes joined by ","; nothing after shutdown(). When no
    // worker can be had, done gets the empty reply at once, as from an unreachable server.
    void requestQuoteReply(std::string codeList, Done done);
    // Cancels the request in flight (it ends within kCancelLatency), drops the queued ones
    // and waits for the worker. No callback runs once this returns, and none starts later.
    void shutdown();
    // True when nothing is queued or running and every callback has returned.
    bool idle() const { return jobs_.idle(); }

    // Set by shutdown(); anyone whose fetches should end with the exchange shares it.
    std::shared_ptr<std::atomic<bool>> cancelFlag() const { return cancel_; }

    // Why the most recent failed request failed, kept until the next failure; already
    // kept when the callback of that request runs.
    TransferError lastError() const { return lastError_.get(); }

  private:
    std::string baseUrl_;
    FetchOptions options_;
    LastTransferError lastError_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
    JobQueue jobs_;
};

}  // namespace quovella
