#include "quotes/quote_source.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "common/gbk.h"
#include "common/numbers.h"
#include "common/worker.h"
#include "feed/feed_server.h"
#include "quotes/quote_reply.h"

namespace quovella {
namespace {

using namespace std::chrono_literals;

const FetchOptions quick{200ms, 800ms};

class QuoteSourceAgainstFeed : public ::testing::Test {
  protected:
    void SetUp() override {
        FeedOptions options;
        options.port = 0;
        options.seed = 7;
        options.tricklePause = 50ms;
        options.clock = std::make_shared<FixedClock>(LocalDateTime{2024, 5, 6, 10, 30, 0});
        feed_ = std::make_unique<FeedServer>(options);
        ASSERT_TRUE(feed_->start());
    }
    QuoteSource source(FetchOptions options = quick) const {
        return QuoteSource(feed_->baseUrl(), options);
    }
    // The reply under a fault, and how long it took.
    std::pair<std::string, std::chrono::milliseconds> timedFetch(FeedFault fault) {
        feed_->setFault(fault);
        const auto begin = std::chrono::steady_clock::now();
        std::string reply = source().fetchQuoteReply("sh600887,sz000001");
        const auto took = std::chrono::steady_clock::now() - begin;
        return {reply, std::chrono::duration_cast<std::chrono::milliseconds>(took)};
    }

    std::unique_ptr<FeedServer> feed_;
};

// A loopback port nobody listens on.
int deadPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

TEST_F(QuoteSourceAgainstFeed, RequestLooksAsTheServerExpects) {
    const std::string reply = source().fetchQuoteReply("sh600887,sz000001");
    const SeenRequest seen = feed_->lastRequest();
    EXPECT_EQ(seen.method, "GET");
    EXPECT_EQ(seen.target, "/list=sh600887,sz000001");
    EXPECT_EQ(seen.version, "HTTP/1.0");
    const auto header = [&](const std::string& name) {
        const auto found = seen.headers.find(name);
        return found == seen.headers.end() ? std::string("<none>") : found->second;
    };
    EXPECT_EQ(header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(header("Accept"), "*/*");
    EXPECT_EQ(header("Pragma"), "no-cache");
    EXPECT_EQ(header("Cache-Control"), "no-cache");
    EXPECT_EQ(seen.headers.count("Accept"), 1u);
    EXPECT_EQ(reply.rfind("quote_sh600887=\"" + gbk("伊利股份") + ",", 0), 0u);
}

TEST_F(QuoteSourceAgainstFeed, OperationsOnARealReply) {
    const QuoteSource quotes = source();
    QuoteTable table(3);
    EXPECT_EQ(quotes.fillQuoteTable("sh600887,nosuch,sz000001", table), 3);
    EXPECT_EQ(table.cell(1, 2), gbk("伊利股份"));
    EXPECT_EQ(table.cell(2, 1), "");
    EXPECT_EQ(table.cell(3, 2), gbk("平安银行"));
    EXPECT_EQ(table.cell(3, 33), "10:30:00");
    EXPECT_TRUE(quotes.codeExists("sh600519"));
    EXPECT_FALSE(quotes.codeExists("sh999999"));
    EXPECT_EQ(firstQuotedText(quotes.fetchQuoteReply("sh600519")).substr(0, 8), gbk("贵州茅台"));
    EXPECT_NE(leadingDouble(quotes.currentPriceFor("sh600519")), 0.0);
    EXPECT_EQ(quotes.quoteContentFor("sh999999"), "");
}

TEST_F(QuoteSourceAgainstFeed, CodesReachTheServerByteForByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"a b#c", "/list=a%20b%23c"}, {"6%4100", "/list=6%254100"},
        {"6?0088", "/list=6%3F0088"}, {"sh600887,sz000001", "/list=sh600887,sz000001"},
        {"A-z._~9", "/list=A-z._~9"}, {"+=&/\x80\xFF", "/list=%2B%3D%26%2F%80%FF"},
    };
    for (const auto& [codes, target] : cases) {
        source().fetchQuoteReply(codes);
        EXPECT_EQ(feed_->lastRequest().target, target) << codes;
    }
}

TEST_F(QuoteSourceAgainstFeed, ProxyEnvironmentIsIgnored) {
    const std::string dead = "http://127.0.0.1:" + std::to_string(deadPort()) + "/";
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::setenv(name, dead.c_str(), 1);
    }
    const std::string reply = source().fetchQuoteReply("sh600887");
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
        ::unsetenv(name);
    }
    EXPECT_FALSE(firstQuotedText(reply).empty());
}

TEST_F(QuoteSourceAgainstFeed, ServerFaultsGiveAnEmptyReplyWithinTheTimeOut) {
    for (const FeedFault fault : {FeedFault::hang, FeedFault::trickle, FeedFault::hugeBody}) {
        const auto [reply, took] = timedFetch(fault);
        EXPECT_EQ(reply, "") << static_cast<int>(fault);
        EXPECT_LT(took, 3s) << static_cast<int>(fault);
    }
}

TEST_F(QuoteSourceAgainstFeed, ACutBodyKeepsTheEntriesThatArrivedWhole) {
    // The first half of a two-code reply: the first entry whole, the second cut.
    const auto [reply, took] = timedFetch(FeedFault::cutBody);
    EXPECT_EQ(reply.rfind("quote_sh600887=\"", 0), 0u);
    EXPECT_EQ(reply.find("sz000001"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.size() - 3), "\";\n");
    QuoteTable table(2);
    EXPECT_EQ(fillQuoteTableFromReply(reply, table), 1);
    EXPECT_EQ(table.cell(1, 2), gbk("伊利股份"));
}

TEST(CompleteEntries, AnEntryWithoutItsClosingQuoteAndSemicolonIsDropped) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"v_a=\"1,2", ""},
        {"v_a=\"1,2\"", ""},
        {"v_a=\"1\";", "v_a=\"1\";"},
        {"v_a=\"1\";\r\nv_b=\"2", "v_a=\"1\";\r\n"},
        {"v_a=\"1\";\nv_b=\"2\";\nv_c", "v_a=\"1\";\nv_b=\"2\";\n"},
    };
    for (const auto& [body, kept] : cases) EXPECT_EQ(completeEntries(body), kept) << body;
}

TEST_F(QuoteSourceAgainstFeed, ADelayWithinTheTimeOutIsWaitedFor) {
    feed_->setDelay(300ms);
    EXPECT_TRUE(source(FetchOptions{1s, 5s}).codeExists("sh600887"));
    feed_->setDelay(2s);
    EXPECT_FALSE(source().codeExists("sh600887"));
}

TEST_F(QuoteSourceAgainstFeed, BodiesThatAreNotQuotesAreUsedAsTheyCome) {
    const auto [error, errorTook] = timedFetch(FeedFault::serverError);
    EXPECT_EQ(error.rfind("quote_sh600887=\"", 0), 0u);  // a 500 body is still a body
    const auto [garbage, garbageTook] = timedFetch(FeedFault::garbage);
    EXPECT_EQ(garbage, "quote_x=\"\xFF\x80\x81\x7C,\x01\x02\xFE\xFF");  // cut at the NUL
    feed_->setFault(FeedFault::failed);
    EXPECT_FALSE(source().codeExists("sh600887"));
    EXPECT_EQ(source().quoteContentFor("sh600887"), "FAILED");
}

TEST_F(QuoteSourceAgainstFeed, SafeFromSeveralThreadsAtOnce) {
    const QuoteSource quotes = source(FetchOptions{1s, 5s});
    std::vector<std::future<bool>> results;
    for (int t = 0; t < 6; ++t) {
        results.push_back(std::async(std::launch::async, [&quotes] {
            for (int i = 0; i < 10; ++i) {
                if (!quotes.codeExists(i % 2 ? "sh600887" : "sz300750")) return false;
            }
            return true;
        }));
    }
    for (auto& result : results) EXPECT_TRUE(result.get());
}

TEST(QuoteSource, UnreachableServerGivesEmpty) {
    const QuoteSource quotes("http://127.0.0.1:" + std::to_string(deadPort()) + "/", quick);
    QuoteTable table(1);
    table.setCell(1, 1, "kept");
    EXPECT_EQ(quotes.fillQuoteTable("sh600887", table), 0);
    EXPECT_EQ(table.cell(1, 1), "kept");
    EXPECT_FALSE(quotes.codeExists("sh600887"));
    EXPECT_EQ(quotes.currentPriceFor("sh600887"), "");
}

TEST_F(QuoteSourceAgainstFeed, EachResultCarriesTheCauseOfItsOwnFailure) {
    const QuoteSource dead("http://127.0.0.1:" + std::to_string(deadPort()) + "/", quick);
    const FetchResult refused = dead.fetchQuoteResult("sh600887");
    EXPECT_EQ(refused.body, "");
    EXPECT_EQ(refused.error.curlCode, CURLE_COULDNT_CONNECT);
    EXPECT_EQ(refused.error.httpStatus, 0);

    const QuoteSource quotes = source();
    feed_->setFault(FeedFault::serverError);
    const FetchResult failed = quotes.fetchQuoteResult("sh600887");
    EXPECT_NE(failed.body, "");  // a 500's body is still the reply
    EXPECT_EQ(failed.error.httpStatus, 500);
    feed_->setFault(FeedFault::none);
    const FetchResult fine = quotes.fetchQuoteResult("sh600887");
    EXPECT_NE(fine.body, "");
    EXPECT_FALSE(fine.error.failed());
}

TEST(QuoteSource, ACancelEndsAnExchangeLongBeforeItsTimeOut) {
    FeedOptions options;
    options.port = 0;
    options.fault = FeedFault::hang;
    FeedServer feed(options);
    ASSERT_TRUE(feed.start());
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    const QuoteSource quotes(feed.baseUrl(), FetchOptions{3s, 30s, cancel});
    std::thread canceller([cancel] {
        std::this_thread::sleep_for(200ms);
        cancel->store(true);
    });
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(quotes.fetchQuoteReply("sh600887"), "");
    const auto took = std::chrono::steady_clock::now() - begin;
    canceller.join();
    EXPECT_LT(took, 1s);  // the time-out would have taken 30 s
    // Once set, a new exchange is not even started.
    EXPECT_EQ(quotes.fetchQuoteReply("sh600887"), "");
    EXPECT_EQ(feed.requestCount(), 1);
}

TEST(QuoteSource, DefaultTimeOutBoundsAServerThatNeverAnswers) {
    FeedOptions options;
    options.port = 0;
    options.fault = FeedFault::hang;
    FeedServer feed(options);
    ASSERT_TRUE(feed.start());
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(QuoteSource(feed.baseUrl()).fetchQuoteReply("sh600887"), "");
    const auto took = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(took, 9s);
    EXPECT_LT(took, 15s);
}

// A worker's shutdown cancels the fetch it runs when the fetch carries the worker's flag.
TEST(QuoteSource, AWorkersShutdownEndsItsHangingRequestAtOnce) {
    FeedServer feed(FeedOptions{.port = 0, .fault = FeedFault::hang});
    ASSERT_TRUE(feed.start());
    Worker worker;
    const QuoteSource quotes(feed.baseUrl(), FetchOptions{3s, 30s, worker.cancelFlag()});
    std::atomic<int> answered{0};
    for (int i = 0; i < 3; ++i) {
        submit<FetchResult>(
            worker, [&](const CancelFlag&) { return quotes.fetchQuoteResult("sh600887"); },
            [&](Outcome<FetchResult>) { ++answered; });
    }
    while (feed.requestCount() == 0) std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(worker.idle());

    const auto begin = std::chrono::steady_clock::now();
    worker.shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 500ms);
    EXPECT_EQ(answered.load(), 0);
    EXPECT_EQ(feed.requestCount(), 1);
}

}  // namespace
}  // namespace quovella
