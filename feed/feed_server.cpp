#include "feed/feed_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <csignal>

namespace quovella {
namespace {

constexpr const char* host = "127.0.0.1";
constexpr const char* gbkText = "text/plain; charset=GBK";

std::string garbageBody() {
    // Invalid GBK (0xFF, 0x80 alone), a quote opened before a NUL, and more after the NUL.
    static const char bytes[] = "quote_x=\"\xFF\x80\x81\x7C,\x01\x02\xFE\xFF";
    std::string body(bytes, sizeof bytes - 1);
    body.push_back('\0');
    body += "after\"nul\xFF;\n";
    return body;
}

std::string failedReply(const std::string& codeList) {
    std::string reply;
    std::size_t begin = 0;
    do {
        const std::size_t comma = codeList.find(',', begin);
        const std::size_t end = comma == std::string::npos ? codeList.size() : comma;
        reply += "quote_" + codeList.substr(begin, end - begin) + "=\"FAILED\";\n";
        begin = end + 1;
    } while (begin <= codeList.size());
    return reply;
}

}  // namespace

FeedServer::FeedServer(FeedOptions options)
    : options_(std::move(options)),
      book_(options_.seed, options_.clock, !options_.fixedContentsOnly),
      server_(std::make_unique<httplib::Server>()),
      fault_(options_.fault),
      delayMs_(options_.delay.count()) {
    // Without the library's default SO_REUSEPORT, so a second server on a taken port fails
    // instead of quietly sharing it.
    server_->set_socket_options([](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_->set_keep_alive_max_count(1);
    server_->set_read_timeout(2, 0);
    server_->set_write_timeout(2, 0);
    server_->Get(R"(/list=(.*))",
                 [this](const httplib::Request& request, httplib::Response& response) {
                     handleList(request, response);
                 });
}

FeedServer::~FeedServer() {
    stop();
}

bool FeedServer::start() {
    // A client that hangs up mid-body must not kill the process.
    std::signal(SIGPIPE, SIG_IGN);
    if (thread_.joinable()) return false;
    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(host);
    } else {
        port_ = server_->bind_to_port(host, options_.port) ? options_.port : -1;
    }
    if (port_ < 0) return false;
    thread_ = std::thread([this] {
        server_->listen_after_bind();
        listenEnded_ = true;
    });
    // stop() only reaches a server that is already listening.
    while (!server_->is_running() && !listenEnded_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !listenEnded_;
}

void FeedServer::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    server_->stop();
    if (thread_.joinable()) thread_.join();
}

std::string FeedServer::baseUrl() const {
    return "http://" + std::string(host) + ":" + std::to_string(port_) + "/";
}

void FeedServer::setContent(std::string code, std::string content) {
    book_.fixContent(std::move(code), std::move(content));
}

void FeedServer::hold() {
    const std::lock_guard lock(mutex_);
    held_ = true;
}

void FeedServer::release() {
    {
        const std::lock_guard lock(mutex_);
        held_ = false;
    }
    changed_.notify_all();
}

bool FeedServer::waitForHeldRequest(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return waiting_ > 0; });
}

SeenRequest FeedServer::lastRequest() const {
    const std::lock_guard lock(mutex_);
    return lastRequest_;
}

std::vector<std::string> FeedServer::requestedLists() const {
    const std::lock_guard lock(mutex_);
    return requestedLists_;
}

bool FeedServer::pauseUnlessStopping(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return stopping_; });
}

bool FeedServer::waitUnlessReleased() {
    std::unique_lock lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !held_ || stopping_; });
    --waiting_;
    return !stopping_;
}

void FeedServer::record(const httplib::Request& request) {
    SeenRequest seen{request.method, request.target, request.version, {}};
    for (const auto& [name, value] : request.headers) seen.headers.emplace(name, value);
    const std::lock_guard lock(mutex_);
    if (options_.onRequest) options_.onRequest(seen);
    lastRequest_ = std::move(seen);
    requestedLists_.push_back(request.matches[1].str());
    ++requestCount_;
}

void FeedServer::handleList(const httplib::Request& request, httplib::Response& response) {
    record(request);
    const FeedFault fault = fault_;
    if (!waitUnlessReleased()) return;
    if (!pauseUnlessStopping(std::chrono::milliseconds(delayMs_.load()))) return;
    if (fault == FeedFault::hang) {
        pauseUnlessStopping(std::chrono::hours(24));
        return;
    }
    answer(fault, request.matches[1].str(), response);
}

std::string FeedServer::replyFor(const std::string& codeList) {
    std::string reply = book_.replyFor(codeList);
    for (int i = extraEntries_; i > 0; --i) reply += "quote_extra=\"\";\n";
    return reply;
}

void FeedServer::answer(FeedFault fault, const std::string& codeList, httplib::Response& response) {
    switch (fault) {
        case FeedFault::trickle:
            return answerSlowly(replyFor(codeList), response);
        case FeedFault::cutBody:
            return answerCut(replyFor(codeList), response);
        case FeedFault::serverError:
            response.status = 500;
            return response.set_content(replyFor(codeList), gbkText);
        case FeedFault::garbage:
            return response.set_content(garbageBody(), "application/octet-stream");
        case FeedFault::hugeBody:
            return answerHuge(response);
        case FeedFault::failed:
            return response.set_content(codeList.empty() ? "" : failedReply(codeList), gbkText);
        case FeedFault::none:
        case FeedFault::hang:
            break;
    }
    response.set_content(replyFor(codeList), gbkText);
}

void FeedServer::answerSlowly(const std::string& body, httplib::Response& response) {
    response.set_content_provider(
        body.size(), gbkText,
        [this, body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (!pauseUnlessStopping(options_.tricklePause)) return false;
            return sink.write(body.data() + offset, 1);
        });
}

void FeedServer::answerCut(const std::string& body, httplib::Response& response) {
    // Announces twice the length, sends the first half, then gives up on the connection.
    const std::size_t half = body.size() / 2;
    response.set_content_provider(
        body.size() * 2 + 2, gbkText,
        [body, half](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (offset >= half) return false;
            return sink.write(body.data() + offset, half - offset);
        });
}

void FeedServer::answerHuge(httplib::Response& response) {
    static const std::string chunk(64 * 1024, 'x');
    response.set_content_provider(
        hugeBodyBytes, gbkText,
        [this](std::size_t /*offset*/, std::size_t length, httplib::DataSink& sink) {
            {
                const std::lock_guard lock(mutex_);
                if (stopping_) return false;
            }
            return sink.write(chunk.data(), std::min(length, chunk.size()));
        });
}

}  // namespace quovella
