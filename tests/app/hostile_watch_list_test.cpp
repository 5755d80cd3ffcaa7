// Every bad "system.txt" tried, and what must hold for each: the window comes at once, the
// grid shows what the file can give, a file the window cannot take is named in a message,
// and neither start-up nor an add loses a byte of what the file held.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/watch_window_fixture.h"

namespace quovella {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string repeat(const std::string& line, std::size_t times) {
    std::string out;
    out.reserve(line.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += line;
    return out;
}

// What an add of 600887 does to the file.
enum class AddGives { appended, refused };

struct ListCase {
    const char* name;
    // The file's bytes; unused when place is given.
    std::string bytes;
    // Puts something other than a plain file at the path.
    std::function<bool(const fs::path&)> place;
    int rows;             // data rows the grid shows after start-up
    int requests;         // quote requests start-up makes
    const char* refusal;  // part of the message shown, nullptr for none
    AddGives add;
    int rowsAfterAdd;
};

const std::string kMegabyteLine = std::string((std::size_t{1} << 20) - 2, '7') + "\r\n";

// A grid row (and its part of the request URL) per code; past the bounds, nothing is taken.
const ListCase kCases[] = {
    {"empty", "", nullptr, 0, 0, nullptr, AddGives::appended, 1},
    // Bare LF line ends make the whole file one code, which no address can carry.
    {"lfOnly", "sh600887\nsz000001\n", nullptr, 1, 0, nullptr, AddGives::appended, 1},
    // Reading stops at the NUL; the added code goes after the bytes past it, kept but unseen.
    {"nulInside", std::string("sh600887\r\n\0sz000001\r\n", 21), nullptr, 1, 1, nullptr,
     AddGives::appended, 1},
    // At the byte bound: read, but no code more fits; the server turns the address away.
    {"oneMegabyteLine", kMegabyteLine, nullptr, 1, 0, nullptr, AddGives::refused, 1},
    {"tenThousandAndOneCodes", repeat("sh600887\r\n", 10001), nullptr, 0, 0, "太大",
     AddGives::refused, 0},
    {"fiftyMegabytes", repeat("sh600887\r\n", 5 * 1024 * 1024), nullptr, 0, 0, "太大",
     AddGives::refused, 0},
    {"aDirectory", "", [](const fs::path& p) { return fs::create_directory(p); }, 0, 0, "无法读取",
     AddGives::refused, 0},
    // A pipe with no writer: reading it would wait for ever.
    {"aPipe", "", [](const fs::path& p) { return ::mkfifo(p.c_str(), 0644) == 0; }, 0, 0,
     "无法读取", AddGives::refused, 0},
};

class HostileWatchList : public testing::WatchWindowFixture,
                         public ::testing::WithParamInterface<ListCase> {
  protected:
    void SetUp() override {
        WatchWindowFixture::SetUp();
        server_.setContent("sh600887", testing::contentOf(testing::Quote{}));
        const ListCase& c = GetParam();
        if (c.place) {
            ASSERT_TRUE(c.place(systemPath()));
        } else {
            writeFile(c.bytes);
        }
    }
    // The file as it is now, or what stands in its place.
    std::string whatIsThere() const {
        if (fs::is_directory(systemPath())) return "<directory>";
        if (fs::is_fifo(systemPath())) return "<pipe>";
        return fileText();
    }
    int shownRefusals(const char* part) const {
        int count = 0;
        for (const auto& box : dialogs_.shown()) {
            if (box.caption == gbk("信息：") && box.text.find(gbk(part)) != std::string::npos &&
                box.text.find("system.txt") != std::string::npos)
                ++count;
        }
        return count;
    }
};

TEST_P(HostileWatchList, NothingIsLostAndTheUserIsToldWhatWasNotTaken) {
    const ListCase& c = GetParam();
    const std::string before = c.place ? whatIsThere() : c.bytes;

    const auto began = Clock::now();
    start(std::nullopt, server_.baseUrl(), false);
    EXPECT_LT(Clock::now() - began, std::chrono::seconds(1));
    settle();
    stopRefreshTimer();

    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(grid().rowCount(), 1 + c.rows);
    EXPECT_EQ(server_.requestCount(), c.requests);
    EXPECT_EQ(dialogs_.shown().size(), c.refusal ? 1u : 0u);
    if (c.refusal) {
        EXPECT_EQ(shownRefusals(c.refusal), 1);
    }
    EXPECT_EQ(whatIsThere(), before);

    dialogs_.answerText("600887");
    window().watchPage().按钮_添加->click();
    settle();
    QCoreApplication::processEvents();  // the reload's message is posted
    EXPECT_EQ(whatIsThere(), c.add == AddGives::appended ? before + "sh600887\r\n" : before);
    EXPECT_EQ(grid().rowCount(), 1 + c.rowsAfterAdd);
    // The reload after the add names the file again.
    if (c.refusal) {
        EXPECT_EQ(shownRefusals(c.refusal), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFile, HostileWatchList, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ListCase>& c) {
                             return std::string(c.param.name);
                         });

}  // namespace
}  // namespace quovella
