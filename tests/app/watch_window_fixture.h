#pragma once
// The main window against a quote server on a free loopback port, with short time-outs, for
// the watch-list and watch-grid tests. Each test chooses the content of "system.txt" and the
// server before the window (and so start-up) is built.
#include <QCoreApplication>
#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/watch/watch_always_on_top.h"
#include "app/window_fixture.h"
#include "feed/feed_server.h"
#include "ui/grid.h"
#include "ui/timer.h"

namespace quovella::testing {

inline FetchOptions shortTimeouts() {
    return {std::chrono::milliseconds(300), std::chrono::milliseconds(1500)};
}

// The fields of one quote as the server sends them.
struct Quote {
    const char* nameUtf8 = "伊利股份";
    std::string open = "10.00";
    std::string previousClose = "10.00";
    std::string current = "10.00";
    std::string high = "10.80";
    std::string low = "9.20";
    std::string volume = "5000";
    std::string amount = "5000.00";
    std::string date = "2020-08-28";
    std::string time = "09:30:00";
};

// Fields 1..10, twenty order-book fields, then 31 date, 32 time and one more.
inline std::string contentOf(const Quote& q) {
    std::string content = gbk(q.nameUtf8) + "," + q.open + "," + q.previousClose + "," + q.current +
                          "," + q.high + "," + q.low + "," + q.current + "," + q.current + "," +
                          q.volume + "," + q.amount;
    for (int field = 11; field <= 30; ++field) content += ",100";
    return content + "," + q.date + "," + q.time + ",00";
}

// The content of a quote whose current price is price, the other fields as in Quote.
inline std::string priceContent(const std::string& price) {
    Quote quote;
    quote.current = price;
    return contentOf(quote);
}

// A quote server on a free port that knows only the codes a test gives a content.
inline FeedOptions fixedQuotes() {
    FeedOptions options;
    options.port = 0;
    options.fixedContentsOnly = true;
    return options;
}

// Passes every box on to the scripted dialogs, and lets a test look at the window while an
// input box is open.
class ObservedDialogs final : public Dialogs {
  public:
    explicit ObservedDialogs(ScriptedDialogs& inner) : inner_(inner) {}
    std::function<void()> onInput;

    DialogAnswer message(QWidget* owner, const std::string& text, const std::string& caption,
                         DialogButtons buttons) override {
        return inner_.message(owner, text, caption, buttons);
    }
    std::optional<std::string> input(QWidget* owner, const std::string& prompt,
                                     const std::string& title,
                                     const std::string& initial) override {
        if (onInput) onInput();
        return inner_.input(owner, prompt, title, initial);
    }

  private:
    ScriptedDialogs& inner_;
};

class WatchWindowFixture : public WindowFixture {
  protected:
    // The window is built by start(), once the test has set up the server.
    void SetUp() override {
        ASSERT_TRUE(runDirectory_.isValid());
        ASSERT_TRUE(server_.start());
    }

    // Writes "system.txt" (no file when nothing is given), builds the window and lets
    // start-up run against the server at baseUrl.
    // Unless told not to wait, the load's reply has been shown when it returns.
    void start(const std::optional<std::string>& systemText, const std::string& baseUrl,
               bool waitForQuotes = true, FetchOptions timeouts = shortTimeouts()) {
        if (systemText) writeFile(*systemText);
        window_ = std::make_unique<MainWindow>(state_, runDirectory(), baseUrl,
                                               WindowServices{&observed_, &clock_, timeouts});
        window_->show();
        if (waitForQuotes) settle();
    }

    // Lets the window's background work and a running refresh pass come to an end.
    void settle() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        WindowFixture::settle();
        while (window().appState().refreshBusy && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            WindowFixture::settle();
        }
    }

    std::string systemPath() const { return runDirectory() + "/system.txt"; }
    void writeFile(const std::string& bytes) const {
        std::ofstream(systemPath(), std::ios::binary) << bytes;
    }
    std::string fileText() const {
        std::ifstream in(systemPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    Grid& grid() { return *window().watchPage().高级表格_股票; }
    // A missing cell reads as "<missing>".
    std::string cell(int row, int column) {
        return grid().cellText(row, column).value_or("<missing>");
    }
    ColourWord colour(int row, int column) { return grid().cellTextColour(row, column); }
    std::vector<std::string> rowTexts(int row) {
        std::vector<std::string> texts;
        for (int c = 0; c < grid().columnCount(); ++c) texts.push_back(cell(row, c));
        return texts;
    }
    // The test drives the refresh itself, so no tick arrives by the clock.
    void stopRefreshTimer() { window().watchPage().时钟_刷新周期->setInterval(0); }
    void tickWithoutWaiting() { emit window().watchPage().时钟_刷新周期->tick(); }
    // One tick of the refresh timer, and the pass it starts run to its end.
    void tick() {
        emit window().watchPage().时钟_刷新周期->tick();
        settle();
    }
    int timerInterval() { return window().watchPage().时钟_刷新周期->interval(); }
    bool onTop() { return isAlwaysOnTop(window()); }

    ObservedDialogs observed_{dialogs_};
    FeedServer server_{fixedQuotes()};
};

inline constexpr ColourWord kRed = kRisingColour;
inline constexpr ColourWord kGreen = kFallingColour;

}  // namespace quovella::testing
