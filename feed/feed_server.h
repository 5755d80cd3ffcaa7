#pragma once
// The demo quote server: answers GET /list=CODE,CODE,... on 127.0.0.1 from a QuoteBook,
// and can misbehave on purpose (delay, hang, trickle, cut body, error status, garbage,
// a huge body, "FAILED") so the client's failure handling can be tested in-process.
// Tests can also fix what a code answers, and hold requests back to see what a client does
// while one is on its way.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/date_time.h"
#include "feed/quote_book.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace quovella {

enum class FeedFault {
    none,
    hang,         // never answers (until the server stops)
    trickle,      // one byte at a time, with a pause per byte
    cutBody,      // announces a longer body than it sends, then closes
    serverError,  // status 500 with a quote-like body
    garbage,      // binary bytes, a NUL and bytes that are not GBK
    hugeBody,     // a 20 MB body
    failed,       // every quote content is "FAILED"
};

struct FeedOptions {
    int port = 18930;  // 0 picks a free port
    std::uint64_t seed = 1;
    FeedFault fault = FeedFault::none;
    std::chrono::milliseconds delay{0};  // before every answer
    std::chrono::milliseconds tricklePause{20};
    std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    // Told of every request as it arrives, on the server's threads.
    std::function<void(const struct SeenRequest&)> onRequest = nullptr;
    // No market: only the codes given a content (setContent) are known.
    bool fixedContentsOnly = false;
};

// What the server saw of the last request.
struct SeenRequest {
    std::string method;
    std::string target;   // as sent, e.g. /list=sh600887
    std::string version;  // e.g. HTTP/1.0
    std::multimap<std::string, std::string> headers;
};

class FeedServer {
  public:
    explicit FeedServer(FeedOptions options = {});
    FeedServer(const FeedServer&) = delete;
    FeedServer& operator=(const FeedServer&) = delete;
    ~FeedServer();

    // Binds 127.0.0.1 and serves on a thread of its own. False when the port is taken.
    // A server starts once.
    bool start();
    // Stops promptly, also while a handler hangs or trickles.
    void stop();

    int port() const { return port_; }
    std::string baseUrl() const;  // http://127.0.0.1:<port>/

    void setFault(FeedFault fault) { fault_ = fault; }
    void setDelay(std::chrono::milliseconds delay) { delayMs_ = delay.count(); }
    // The code answers with this content (GBK, the text between the quotes) from now on.
    void setContent(std::string code, std::string content);
    // Every reply ends with this many more entries, for a code nobody asked for.
    void setExtraEntries(int count) { extraEntries_ = count; }

    // While held, every request waits, once counted, until release() or stop().
    void hold();
    void release();
    // Waits, at most for the time-out, until a request is held.
    bool waitForHeldRequest(std::chrono::milliseconds timeout = std::chrono::seconds(10));

    SeenRequest lastRequest() const;
    int requestCount() const { return requestCount_; }
    // The code lists asked for, in order.
    std::vector<std::string> requestedLists() const;

    // The body the hugeBody fault sends.
    static constexpr std::size_t hugeBodyBytes = 20u * 1000u * 1000u;

  private:
    void handleList(const httplib::Request& request, httplib::Response& response);
    void record(const httplib::Request& request);
    // False when the server stopped while the request was held.
    bool waitUnlessReleased();
    std::string replyFor(const std::string& codeList);
    void answer(FeedFault fault, const std::string& codeList, httplib::Response& response);
    void answerSlowly(const std::string& body, httplib::Response& response);
    void answerCut(const std::string& body, httplib::Response& response);
    void answerHuge(httplib::Response& response);
    // Waits for the duration; false as soon as the server is stopping.
    bool pauseUnlessStopping(std::chrono::milliseconds duration);

    FeedOptions options_;
    QuoteBook book_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;
    std::atomic<FeedFault> fault_;
    std::atomic<std::int64_t> delayMs_;
    std::atomic<int> requestCount_{0};
    std::atomic<int> extraEntries_{0};
    std::atomic<bool> listenEnded_{false};
    mutable std::mutex mutex_;
    // Stopping, holding, releasing and a request arriving at the hold.
    std::condition_variable changed_;
    bool stopping_ = false;
    bool held_ = false;
    int waiting_ = 0;
    SeenRequest lastRequest_;
    std::vector<std::string> requestedLists_;
};

}  // namespace quovella
