#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <set>

#include "records/record_store.h"
#include "store_fixture.h"

namespace quovella {
namespace {

class CrashSafety : public StoreFixture {};

// The child inserts rows the program's way (each committed by the next openCursor) and
// reports every committed row through a pipe until it is killed mid-flight.
[[noreturn]] void insertUntilKilled(const std::string& dir, int reportFd) {
    RecordStore store;
    if (!store.startUpOpen(dir)) _exit(3);
    for (std::uint32_t i = 0;; ++i) {
        if (!store.openCursor("sj", RecordStore::kTable)) _exit(4);
        if (i > 0 && write(reportFd, &i, sizeof i) != sizeof i) _exit(5);  // row i-1 is in
        if (!store.addNew() || !store.writeField(gbk("股票代码"), "c" + std::to_string(i))) {
            _exit(6);
        }
    }
}

TEST_F(CrashSafety, AKilledWriterLosesNoCommittedRowAndLeavesASoundFile) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        insertUntilKilled(dir_, fds[1]);
    }
    close(fds[1]);
    std::set<std::uint32_t> reported;
    std::uint32_t count = 0;
    while (reported.size() < 300 && read(fds[0], &count, sizeof count) == sizeof count) {
        reported.insert(count - 1);
    }
    ASSERT_EQ(kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended early with " << WEXITSTATUS(status);
    while (read(fds[0], &count, sizeof count) == sizeof count) reported.insert(count - 1);
    close(fds[0]);
    ASSERT_GE(reported.size(), 300u);

    EXPECT_EQ(rawColumn("pragma integrity_check"), std::vector<std::string>{"ok"});
    const std::vector<std::string> codes = rawColumn("select 股票代码 from sj");
    const std::set<std::string> stored(codes.begin(), codes.end());
    for (const std::uint32_t row : reported) {
        EXPECT_TRUE(stored.count("c" + std::to_string(row))) << "lost committed row " << row;
    }
    RecordStore store;
    EXPECT_TRUE(store.startUpOpen(dir_));
}

}  // namespace
}  // namespace quovella
