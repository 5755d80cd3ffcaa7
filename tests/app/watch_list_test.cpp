// The add and delete commands of the watch list: what reaches "system.txt", the grid, the
// refresh timer and the window's always-on-top state.
#include <gtest/gtest.h>

#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "app/watch_window_fixture.h"
#include "records/store_schema.h"
#include "ui/slider.h"
#include "ui/status_bar.h"

namespace quovella {
namespace {

using testing::Quote;
using testing::ShownBox;

class WatchListTest : public testing::WatchWindowFixture {
  protected:
    void SetUp() override {
        WatchWindowFixture::SetUp();
        Quote yili;
        server_.setContent("sh600887", testing::contentOf(yili));
        Quote pingan;
        pingan.nameUtf8 = "平安银行";
        server_.setContent("sz000001", testing::contentOf(pingan));
        server_.setContent("sh601111", "FAILED");
    }
    void startWith(const std::optional<std::string>& systemText) {
        start(systemText, server_.baseUrl());
    }
    void add() {
        window().watchPage().按钮_添加->click();
        settle();
    }
    void remove() {
        window().watchPage().按钮_删除->click();
        settle();
    }
    const ShownBox& lastBox() const { return dialogs_.shown().back(); }
};

TEST_F(WatchListTest, AddingPrefixesTheEntryAppendsItAndReloads) {
    startWith(std::nullopt);
    window().watchPage().滑块条_刷新时间->setPosition(3);
    const QPoint position = window().pos();
    bool onTopDuringInput = true;
    int timerDuringInput = -1;
    observed_.onInput = [&] {
        onTopDuringInput = onTop();
        timerDuringInput = timerInterval();
    };
    ASSERT_FALSE(onTop());

    dialogs_.answerText("600887");
    add();

    ASSERT_EQ(dialogs_.shown().size(), 1u);
    const ShownBox& box = dialogs_.shown()[0];
    EXPECT_EQ(box.kind, ShownBox::Kind::Input);
    EXPECT_EQ(box.text, gbk("请输入正确的股票代码"));
    EXPECT_EQ(box.caption, gbk("添加股票代码"));
    EXPECT_EQ(box.initial, "600887");
    EXPECT_FALSE(onTopDuringInput);
    EXPECT_EQ(timerDuringInput, 0);
    EXPECT_EQ(fileText(), "sh600887\r\n");
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(cell(1, 1), "sh600887");
    EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
    // The reload restarts the refresh at the slider's period.
    EXPECT_EQ(timerInterval(), 3000);
    EXPECT_TRUE(onTop());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().pos(), position);

    dialogs_.answerText("000001");
    add();
    EXPECT_EQ(fileText(), "sh600887\r\nsz000001\r\n");
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(cell(2, 1), "sz000001");
    EXPECT_EQ(cell(2, 2), gbk("平安银行"));
    EXPECT_EQ(dialogs_.shown().size(), 2u);
    EXPECT_TRUE(onTop());
}

// A run directory whose name GBK cannot hold: the list and the store are found, and an add
// writes into that directory.
TEST_F(WatchListTest, ARunDirectoryGbkCannotNameHoldsTheListAndTheStore) {
    const std::filesystem::path dir = std::filesystem::path(runDirectory()) / "dir_한글";
    ASSERT_TRUE(std::filesystem::create_directory(dir));
    std::ofstream(dir / "system.txt", std::ios::binary) << "sh600887\r\n";
    ASSERT_EQ(makeEmptyStore((dir / "gp.mdb").string()), MakeStoreResult::created);
    window_ =
        std::make_unique<MainWindow>(state_, dir, server_.baseUrl(),
                                     WindowServices{&observed_, &clock_, testing::shortTimeouts()});
    window_->show();
    settle();
    EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
    EXPECT_EQ(window().状态条1->paneText(1), gbk("连接成功"));

    dialogs_.answerText("000001");
    add();
    std::ifstream in(dir / "system.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "sh600887\r\nsz000001\r\n");
}

TEST_F(WatchListTest, RefusedEntriesLeaveTheFileAloneAndRestartTheRefresh) {
    startWith("sh600887\r\n");
    window().watchPage().滑块条_刷新时间->setPosition(3);
    struct Case {
        const char* label;
        std::optional<std::string> typed;  // nothing: the box is cancelled
        const char* asked;                 // the code the server is asked about, if any
    };
    const Case cases[] = {
        {"five characters", "60088", nullptr},
        {"seven characters", "6008870", nullptr},
        {"cancelled", std::nullopt, nullptr},
        {"unknown Shenzhen code", "300999", "sz300999"},
        {"unknown code without prefix", "a00001", "a00001"},
        {"server answers FAILED", "601111", "sh601111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const int asked = server_.requestCount();
        if (c.typed) {
            dialogs_.answerText(*c.typed);
        } else {
            dialogs_.answerCancel();
        }
        add();

        EXPECT_EQ(lastBox().kind, ShownBox::Kind::Message);
        EXPECT_EQ(lastBox().text, gbk("对不起股票代码有误！"));
        EXPECT_EQ(lastBox().caption, gbk("添加失败"));
        EXPECT_EQ(lastBox().buttons, DialogButtons::Ok);
        EXPECT_EQ(fileText(), "sh600887\r\n");
        EXPECT_EQ(grid().rowCount(), 2);
        EXPECT_EQ(cell(1, 2), gbk("伊利股份"));
        EXPECT_EQ(timerInterval(), 3000);
        EXPECT_TRUE(onTop());
        if (c.asked != nullptr) {
            ASSERT_EQ(server_.requestCount(), asked + 1);
            EXPECT_EQ(server_.requestedLists().back(), c.asked);
        } else {
            EXPECT_EQ(server_.requestCount(), asked);
        }
    }
}

TEST_F(WatchListTest, CodeAddedTwiceShowsTwiceAndOneDeletionDropsBothLines) {
    startWith("sz000001\r\n");
    dialogs_.answerText("600887");
    add();
    dialogs_.answerText("600887");
    add();
    ASSERT_EQ(fileText(), "sz000001\r\nsh600887\r\nsh600887\r\n");
    ASSERT_EQ(grid().rowCount(), 4);

    grid().setCurrentCell(2, 1);
    remove();

    EXPECT_EQ(fileText(), "sz000001\r\n");
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(cell(1, 1), "sz000001");
    // The other copy stays in the grid until the next load.
    EXPECT_EQ(cell(2, 1), "sh600887");
    EXPECT_EQ(dialogs_.shown().size(), 2u);

    // The refresh follows the grid at once.
    stopRefreshTimer();
    const int asked = server_.requestCount();
    tick();
    EXPECT_EQ(server_.requestCount(), asked + 2);
}

TEST_F(WatchListTest, DeletingWithTheHeaderRowOrNoCurrentRowDoesNothing) {
    startWith("sh600887\r\nsz000001\r\n");
    ASSERT_EQ(grid().currentRow(), -1);
    remove();
    grid().setCurrentCell(0, 1);
    remove();

    EXPECT_EQ(fileText(), "sh600887\r\nsz000001\r\n");
    EXPECT_EQ(grid().rowCount(), 3);
    EXPECT_TRUE(dialogs_.shown().empty());
}

TEST_F(WatchListTest, DeletingTheLastCodeLeavesAnEmptyFile) {
    startWith("sh600887\r\n");
    grid().setCurrentCell(1, 3);
    remove();

    EXPECT_EQ(fileText(), "");
    EXPECT_EQ(grid().rowCount(), 1);
}

TEST_F(WatchListTest, AdditionJoinsALastLineWithoutLineEnd) {
    startWith("sz000001");
    dialogs_.answerText("600887");
    add();

    EXPECT_EQ(fileText(), "sz000001sh600887\r\n");
    EXPECT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(cell(1, 1), "sz000001sh600887");
}

}  // namespace
}  // namespace quovella
