#include "feed/feed_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <future>

#include "common/gbk.h"

namespace quovella {
namespace {

using namespace std::chrono_literals;

FeedOptions freePort(FeedFault fault = FeedFault::none) {
    FeedOptions options;
    options.port = 0;
    options.fault = fault;
    options.clock = std::make_shared<FixedClock>(LocalDateTime{2024, 5, 6, 9, 31, 5});
    return options;
}

TEST(FeedServer, AnswersListRequestsInGbk) {
    FeedServer feed(freePort());
    ASSERT_TRUE(feed.start());
    ASSERT_GT(feed.port(), 0);
    httplib::Client client("127.0.0.1", feed.port());
    const auto result = client.Get("/list=sh600887,sz000001");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/plain; charset=GBK");
    EXPECT_EQ(result->body.rfind("quote_sh600887=\"" + gbk("伊利股份") + ",", 0), 0u);
    EXPECT_NE(result->body.find(";\nquote_sz000001=\"" + gbk("平安银行") + ","), std::string::npos);
    EXPECT_EQ(client.Get("/list=")->body, "");
    EXPECT_EQ(client.Get("/other")->status, 404);
    EXPECT_EQ(feed.requestCount(), 2);
}

TEST(FeedServer, SecondServerOnATakenPortFailsToStart) {
    FeedServer first(freePort());
    ASSERT_TRUE(first.start());
    FeedOptions options = freePort();
    options.port = first.port();
    FeedServer second(options);
    EXPECT_FALSE(second.start());
}

TEST(FeedServer, StopsPromptlyWhileHandlersHangOrTrickle) {
    for (const FeedFault fault : {FeedFault::hang, FeedFault::trickle}) {
        auto feed = std::make_unique<FeedServer>(freePort(fault));
        ASSERT_TRUE(feed->start());
        const int port = feed->port();
        auto pending = std::async(std::launch::async, [port] {
            httplib::Client client("127.0.0.1", port);
            client.set_read_timeout(30, 0);
            return client.Get("/list=sh600887");
        });
        while (feed->requestCount() == 0) std::this_thread::sleep_for(1ms);
        const auto begin = std::chrono::steady_clock::now();
        feed->stop();
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 2s) << static_cast<int>(fault);
        pending.get();
    }
}

TEST(FeedServer, FaultsCanBeChangedWhileRunning) {
    FeedServer feed(freePort());
    ASSERT_TRUE(feed.start());
    httplib::Client client("127.0.0.1", feed.port());
    feed.setFault(FeedFault::serverError);
    const auto error = client.Get("/list=sh600887");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->status, 500);
    EXPECT_NE(error->body.find(gbk("伊利股份")), std::string::npos);
    feed.setFault(FeedFault::failed);
    EXPECT_EQ(client.Get("/list=a,b")->body, "quote_a=\"FAILED\";\nquote_b=\"FAILED\";\n");
    feed.setFault(FeedFault::hugeBody);
    EXPECT_EQ(client.Get("/list=a")->body.size(), FeedServer::hugeBodyBytes);
    feed.setFault(FeedFault::cutBody);
    EXPECT_FALSE(client.Get("/list=sh600887"));
}

TEST(FeedServer, FixedContentsExtraEntriesAndHeldRequests) {
    FeedOptions options = freePort();
    options.fixedContentsOnly = true;
    FeedServer feed(options);
    ASSERT_TRUE(feed.start());
    feed.setContent("sz000001", "x,1");
    httplib::Client client("127.0.0.1", feed.port());
    EXPECT_EQ(client.Get("/list=sh600887,sz000001")->body,
              "quote_sh600887=\"\";\nquote_sz000001=\"x,1\";\n");
    feed.setExtraEntries(2);
    EXPECT_EQ(client.Get("/list=sz000001")->body,
              "quote_sz000001=\"x,1\";\nquote_extra=\"\";\nquote_extra=\"\";\n");

    feed.hold();
    auto held = std::async(std::launch::async, [&feed] {
        return httplib::Client("127.0.0.1", feed.port()).Get("/list=a");
    });
    ASSERT_TRUE(feed.waitForHeldRequest());
    EXPECT_EQ(held.wait_for(50ms), std::future_status::timeout);
    feed.release();
    const auto answered = held.get();
    ASSERT_TRUE(answered);
    EXPECT_EQ(answered->status, 200);
    EXPECT_EQ(feed.requestedLists(),
              (std::vector<std::string>{"sh600887,sz000001", "sz000001", "a"}));
}

}  // namespace
}  // namespace quovella
