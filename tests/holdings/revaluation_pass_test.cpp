// The revaluation pass on its own, without a window.
#include "holdings/revaluation_pass.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace quovella {
namespace {

// The process's mapped address space in bytes.
rlim_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Posts a pass with the address space nearly used up, so no thread stack can be had, and
// exits with 0 when the post came back as "not taken" and nothing ran.
[[noreturn]] void startWithoutRoomForAThread() {
    Worker worker;
    const std::vector<HoldingToRevalue> rows{{1, "1", "sh600887", "100", "9.87"}};
    const QuoteSource source("http://127.0.0.1:9/");
    const SystemClock clock;
    const rlimit tight{addressSpaceInUse() + (1 << 20), RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &tight);
    const bool started = worker.post([&](const CancelFlag& cancel) {
        revaluationPass(rows, source, clock, cancel, [](RevaluedHolding) {});
    });
    std::_Exit(started ? 1 : 0);
}

// A failed thread start must not throw into the event loop; the next tick may try again.
TEST(RevaluationPassStart, ThreadThatCannotStartIsNoPass) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(startWithoutRoomForAThread(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quovella
