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

// Starts a pass with the address space nearly used up, so no thread stack can be had, and
// exits with 0 when the start came back as "not started" and left the pass free.
[[noreturn]] void startWithoutRoomForAThread() {
    RevaluationPass pass(nullptr);
    std::vector<HoldingToRevalue> rows{{1, "1", "sh600887", "100", "9.87"}};
    QuoteSource source("http://127.0.0.1:9/");
    RevaluationPass::Deliver deliver = [](RevaluedHolding) {};
    const rlimit tight{addressSpaceInUse() + (1 << 20), RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &tight);
    const bool started =
        pass.start(std::move(rows), std::move(source), nullptr, std::move(deliver));
    std::_Exit(started ? 1 : pass.busy() ? 2 : 0);
}

// A failed thread start must not throw into the event loop nor keep the pass busy for good.
TEST(RevaluationPassStart, ThreadThatCannotStartIsNoPass) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(startWithoutRoomForAThread(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quovella
