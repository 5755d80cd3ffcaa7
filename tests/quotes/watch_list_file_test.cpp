#include "quotes/watch_list_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "common/durable_file.h"
#include "support/unprivileged.h"

namespace quovella {
namespace {

namespace fs = std::filesystem;

class WatchListFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quovella-watch-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = dir_ / watchListFileName;
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string content() const {
        const FileRead file = readWholeFile(path_);
        return file.status == FileRead::Status::read ? file.bytes : "<missing>";
    }
    int entriesInDir() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
    fs::path path_;
};

TEST_F(WatchListFile, MissingFileIsNotAnEmptyFile) {
    EXPECT_EQ(readWatchList(path_).status, WatchListRead::Status::missing);
    EXPECT_EQ(joinWatchCodes(path_), "");
    write("");
    EXPECT_EQ(readWatchList(path_).status, WatchListRead::Status::read);
    EXPECT_TRUE(readWatchList(path_).codes.empty());
}

TEST_F(WatchListFile, ReadingCutsAtCrLfAndStopsAtNul) {
    write(std::string("sh600887\r\n\r\nsz000001\r\nlast\0ignored\r\n", 37));
    const std::vector<std::string> expected{"sh600887", "", "sz000001", "last"};
    EXPECT_EQ(readWatchList(path_).codes, expected);
    EXPECT_EQ(joinWatchCodes(path_), "sh600887,,sz000001,last");
    write("a\nb\n");
    EXPECT_EQ(readWatchList(path_).codes, std::vector<std::string>{"a\nb\n"});
}

TEST_F(WatchListFile, AppendCreatesAndJoinsALastLineWithoutCrLf) {
    EXPECT_TRUE(appendWatchCode(path_, "sh600887"));
    EXPECT_EQ(content(), "sh600887\r\n");
    write("sh600887\r\nsz000001");
    EXPECT_TRUE(appendWatchCode(path_, "sh600519"));
    EXPECT_EQ(content(), "sh600887\r\nsz000001sh600519\r\n");
}

TEST_F(WatchListFile, RemoveDropsEveryEqualLineAndKeepsEmptyOnes) {
    write("sh600887\r\n\r\nsz000001\r\nsh600887\r\nSH600887\r\n");
    EXPECT_TRUE(removeWatchCode(path_, "sh600887"));
    EXPECT_EQ(content(), "\r\nsz000001\r\nSH600887\r\n");
}

TEST_F(WatchListFile, AppendAndRemoveKeepEachOthersCodes) {
    write("a\r\nb\r\n");
    EXPECT_TRUE(appendWatchCode(path_, "c"));
    EXPECT_TRUE(removeWatchCode(path_, "a"));
    EXPECT_EQ(content(), "b\r\nc\r\n");
    EXPECT_TRUE(removeWatchCode(path_, "b"));
    EXPECT_TRUE(appendWatchCode(path_, "a"));
    EXPECT_EQ(content(), "c\r\na\r\n");
}

TEST_F(WatchListFile, AListPastItsBoundsIsRefusedAndLeftAsItIs) {
    std::string tenThousand;
    for (std::size_t i = 0; i < maxWatchCodes; ++i) tenThousand += "1\r\n";
    const std::string fullBytes = std::string(maxWatchListBytes - 2, 'x') + "\r\n";
    using Status = WatchListRead::Status;
    const struct {
        std::string bytes;
        Status status;
    } cases[] = {
        {tenThousand, Status::read},  // at both bounds, but no code more fits
        {fullBytes, Status::read},
        {tenThousand + "1\r\n", Status::tooLarge},
        {fullBytes + "x", Status::tooLarge},
        {std::string("\0", 1) + fullBytes, Status::tooLarge},  // bytes, not the text, count
    };
    for (const auto& c : cases) {
        write(c.bytes);
        EXPECT_EQ(readWatchList(path_).status, c.status);
        EXPECT_FALSE(appendWatchCode(path_, "sh600887"));
        if (c.status == Status::tooLarge) {
            EXPECT_EQ(joinWatchCodes(path_), "");
            EXPECT_FALSE(removeWatchCode(path_, "1"));
        }
        EXPECT_EQ(content(), c.bytes);
    }
}

TEST_F(WatchListFile, ABoundedReadStopsPastTheBound) {
    // An endless file: only a read that stops one byte past the bound returns.
    EXPECT_EQ(readWholeFile("/dev/zero", 10).status, FileRead::Status::tooLarge);
    write("12345");
    EXPECT_EQ(readWholeFile(path_, 5).bytes, "12345");
    EXPECT_EQ(readWholeFile(path_, 4).status, FileRead::Status::tooLarge);
}

TEST_F(WatchListFile, RemovingTheLastCodeLeavesAnEmptyFile) {
    write("sh600887\r\n");
    EXPECT_TRUE(removeWatchCode(path_, "sh600887"));
    EXPECT_TRUE(fs::exists(path_));
    EXPECT_EQ(content(), "");
    EXPECT_EQ(entriesInDir(), 1);  // no temporary left behind
}

TEST_F(WatchListFile, ARewriteKeepsTheFilesPermissions) {
    write("a\r\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(appendWatchCode(path_, "b"));
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(WatchListFile, AFailedWriteLeavesTheOldFileWhole) {
    write("sh600887\r\nsz000001\r\n");
    // A directory nobody may write into: the new content cannot even be started.
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    EXPECT_TRUE(testing::runUnprivileged([&] {
        return !appendWatchCode(path_, "sh600519") && !removeWatchCode(path_, "sh600887");
    }));
    EXPECT_EQ(content(), "sh600887\r\nsz000001\r\n");
    EXPECT_EQ(entriesInDir(), 1);
}

TEST_F(WatchListFile, AWriteCutShortLeavesTheOldFileWhole) {
    // A file-size limit makes the write of the new content fail halfway, even for root.
    const std::string old = "sh600887\r\nsz000001\r\n";
    write(old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(old.size()), static_cast<rlim_t>(old.size())};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool appended = appendWatchCode(path_, "sh600519");
        const bool removed = removeWatchCode(path_, "nothing-to-remove-but-still-rewritten");
        ::_exit(appended || !removed ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(content(), old);
    EXPECT_EQ(entriesInDir(), 1);
}

TEST_F(WatchListFile, APathWhoseTemporaryCannotBeCreatedFails) {
    // The "directory" is a plain file, so no temporary can be made beside the list.
    const fs::path notADirectory = dir_ / "plain";
    std::ofstream(notADirectory) << "x";
    EXPECT_FALSE(replaceFileContent(notADirectory / watchListFileName, "a\r\n"));
    EXPECT_FALSE(appendWatchCode(notADirectory / watchListFileName, "a"));
    EXPECT_EQ(entriesInDir(), 1);
}

TEST_F(WatchListFile, AnUnreadableFileIsNeverRewritten) {
    write("sh600887\r\n");
    // The directory is open to everyone, so only the unreadable file stops a rewrite.
    fs::permissions(dir_, fs::perms::all);
    fs::permissions(path_, fs::perms::owner_write);
    EXPECT_TRUE(testing::runUnprivileged([&] {
        return !removeWatchCode(path_, "sz000001") && !appendWatchCode(path_, "sz000001");
    }));
    fs::permissions(path_, fs::perms::owner_read, fs::perm_options::add);
    EXPECT_EQ(content(), "sh600887\r\n");
    EXPECT_EQ(entriesInDir(), 1);
}

TEST_F(WatchListFile, KilledMidRewriteLeavesTheOldOrTheNewList) {
    const std::string shortList = "sh600887\r\nsz000001\r\n";
    const std::string longList = shortList + "sh600519\r\n";
    write(shortList);
    std::mt19937 random(20240506);
    std::set<std::string> seen;
    for (int round = 0; round < 12; ++round) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Toggles between the two lists, whatever the previous round left, and says so
            // after the first rewrite: on a busy machine it might otherwise not have run.
            for (bool first = true;; first = false) {
                if (content() == shortList) {
                    appendWatchCode(path_, "sh600519");
                } else {
                    removeWatchCode(path_, "sh600519");
                }
                if (first && ::write(started[1], "!", 1) != 1) ::_exit(1);
            }
        }
        char mark = 0;
        ASSERT_EQ(::read(started[0], &mark, 1), 1);
        ::close(started[0]);
        ::close(started[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(200 + random() % 5000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = content();
        EXPECT_TRUE(now == shortList || now == longList) << "round " << round << ": " << now;
        seen.insert(now);
    }
    EXPECT_EQ(seen.size(), 2u);  // the child did rewrite the list
}

}  // namespace
}  // namespace quovella
