#include "common/worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace quovella {
namespace {

using namespace std::chrono_literals;

void waitIdle(const Worker& worker) {
    while (!worker.idle()) std::this_thread::sleep_for(1ms);
}

// Jobs run in the order posted, off the caller's thread; one that throws ends as a failure
// with its cause, and the jobs after it still run.
TEST(Worker, RunsJobsInOrderAndOutlivesAThrowingOne) {
    Worker worker;
    std::vector<std::string> seen;  // written only on the worker
    std::thread::id ranOn;
    const auto record = [&](Outcome<std::string> outcome) {
        seen.push_back(outcome.ok() ? *outcome.value : "failed: " + outcome.failure);
        ranOn = std::this_thread::get_id();
    };
    submit<std::string>(
        worker, [](const CancelFlag&) { return std::string("first"); }, record);
    submit<std::string>(
        worker, [](const CancelFlag&) -> std::string { throw std::runtime_error("no quote"); },
        record);
    submit<std::string>(
        worker, [](const CancelFlag&) -> std::string { throw std::bad_alloc(); }, record);
    worker.post([](const CancelFlag&) { throw 42; });
    submit<std::string>(
        worker, [](const CancelFlag&) { return std::string("last"); }, record);
    waitIdle(worker);
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "failed: no quote", "failed: out of memory",
                                              "last"}));
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

// shutdown sets the worker's own flag for the running job, drops the queued ones and takes
// no more; finish runs what is queued to its end.
TEST(Worker, ShutdownCancelsAndDropsWhileFinishRunsWhatIsQueued) {
    std::promise<void> started;
    std::atomic<int> ran{0};
    Worker cancelled;
    Worker other;
    cancelled.post([&](const CancelFlag& cancel) {
        started.set_value();
        while (!cancel.load()) std::this_thread::sleep_for(1ms);
    });
    for (int i = 0; i < 3; ++i) cancelled.post([&](const CancelFlag&) { ++ran; });
    started.get_future().wait();
    cancelled.shutdown();
    EXPECT_EQ(ran.load(), 0);
    EXPECT_FALSE(cancelled.post([&](const CancelFlag&) { ++ran; }));
    EXPECT_FALSE(other.cancelFlag()->load());  // no worker stops another

    Worker finished;
    for (int i = 0; i < 3; ++i) {
        finished.post([&](const CancelFlag&) {
            std::this_thread::sleep_for(5ms);
            ++ran;
        });
    }
    finished.finish();
    EXPECT_EQ(ran.load(), 3);
    EXPECT_FALSE(finished.cancelFlag()->load());
    EXPECT_FALSE(finished.post([&](const CancelFlag&) { ++ran; }));
}

// A job that sees its cancel before it ends gives no outcome: nobody waits for it any more.
TEST(Worker, ACancelledJobDeliversNothing) {
    Worker worker;
    std::promise<void> started;
    std::atomic<bool> delivered{false};
    submit<int>(
        worker,
        [&](const CancelFlag& cancel) {
            started.set_value();
            while (!cancel.load()) std::this_thread::sleep_for(1ms);
            return 1;
        },
        [&](Outcome<int>) { delivered = true; });
    started.get_future().wait();
    worker.shutdown();
    EXPECT_FALSE(delivered.load());
}

}  // namespace
}  // namespace quovella
