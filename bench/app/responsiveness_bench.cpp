// How long the GUI thread goes without handling events while the real main window follows
// quotes from the in-process demo server on the offscreen platform. Each condition builds
// and shows a window, runs the event loop for a fixed time while a 5 ms precise timer
// records the gaps between its ticks, then closes the window with whatever request is in
// flight. An idle window (no watched codes) is the baseline of the same run.
//
// Run: responsiveness_bench (QUOVELLA_BENCH_SECONDS=3 for a quick trial).
#include <stdlib.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/window/app_state.h"
#include "app/window/main_window.h"
#include "feed/feed_server.h"
#include "feed/stock_list.h"
#include "support/silent_dialogs.h"

namespace quovella {
namespace {

using Steady = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr std::chrono::seconds kDefaultRunTime{10};
constexpr std::chrono::milliseconds kProbePeriod{5};
constexpr int kWatchedCodes = 50;
// A frame at 60 Hz, and a stall a user notices; both include the probe period itself.
constexpr double kShownGoalMs = 200;
constexpr double kP99GoalMs = 16;
constexpr double kMaxGoalMs = 50;
constexpr double kClosedGoalMs = 1000;

struct Condition {
    const char* name;
    int codes;
    std::chrono::milliseconds delay;
    FeedFault fault;
};

struct Figures {
    double shownMs = 0;
    double ranMs = 0;  // more than the run time when the loop could not quit on time
    double p50 = 0;
    double p99 = 0;
    double max = 0;
    double closedMs = 0;
    int requests = 0;
};

std::chrono::milliseconds runTime() {
    const char* text = std::getenv("QUOVELLA_BENCH_SECONDS");
    const double seconds = text ? std::strtod(text, nullptr) : 0.0;
    if (!(seconds > 0)) return kDefaultRunTime;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

// The feed knows fewer than 50 stocks, so the list wraps round; every line must be known,
// because a refresh stops at the first row without a quote.
void writeWatchList(const std::filesystem::path& dir, int codes) {
    std::filesystem::create_directories(dir);
    std::ofstream out(dir / "system.txt", std::ios::binary | std::ios::trunc);
    const auto stocks = knownStocks();
    for (int i = 0; i < codes; ++i)
        out << stocks[static_cast<std::size_t>(i) % stocks.size()].code << "\r\n";
}

double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

double msSince(Steady::time_point start) {
    return Ms(Steady::now() - start).count();
}

Figures measure(const Condition& condition, const std::filesystem::path& runDir,
                std::chrono::milliseconds runFor) {
    Figures figures;
    FeedServer server(FeedOptions{.port = 0, .fault = condition.fault, .delay = condition.delay});
    if (!server.start()) {
        std::fprintf(stderr, "%s: the feed did not start\n", condition.name);
        std::exit(1);
    }
    writeWatchList(runDir, condition.codes);
    AppState state;
    SilentDialogs dialogs;

    const Steady::time_point building = Steady::now();
    auto window = std::make_unique<MainWindow>(state, runDir.string(), server.baseUrl(),
                                               WindowServices{&dialogs, nullptr, FetchOptions{}});
    window->show();
    figures.shownMs = msSince(building);

    std::vector<double> gaps;
    gaps.reserve(static_cast<std::size_t>(runFor / kProbePeriod) + 64);
    Steady::time_point lastTick;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(kProbePeriod);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const Steady::time_point now = Steady::now();
        gaps.push_back(Ms(now - lastTick).count());
        lastTick = now;
    });
    QEventLoop loop;
    QTimer::singleShot(runFor, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    const Steady::time_point running = Steady::now();
    lastTick = running;
    probe.start();
    loop.exec();
    probe.stop();
    // A handler still blocking when the run should have ended shows as one last gap.
    gaps.push_back(msSince(lastTick));
    figures.ranMs = msSince(running);
    figures.requests = server.requestCount();

    std::sort(gaps.begin(), gaps.end());
    figures.p50 = percentile(gaps, 0.50);
    figures.p99 = percentile(gaps, 0.99);
    figures.max = gaps.back();

    // Closing as the program does: the close event first, then the window goes.
    const Steady::time_point closing = Steady::now();
    window->close();
    window.reset();
    figures.closedMs = msSince(closing);
    state.release();
    server.stop();
    return figures;
}

std::string missedGoals(const Figures& f) {
    std::string missed;
    const auto check = [&](bool holds, const char* name) {
        if (!holds) missed += missed.empty() ? name : std::string(",") + name;
    };
    check(f.shownMs <= kShownGoalMs, "shown");
    check(f.p99 <= kP99GoalMs, "p99");
    check(f.max <= kMaxGoalMs, "max");
    check(f.closedMs < kClosedGoalMs, "closed");
    return missed.empty() ? "ok" : "MISSED " + missed;
}

}  // namespace
}  // namespace quovella

int main(int argc, char** argv) {
    using namespace quovella;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // The loop is ours; closing a window between conditions must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);

    char pattern[] = "/tmp/quovella-responsiveness-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) return 1;
    const std::filesystem::path root(made);
    const std::chrono::milliseconds runFor = runTime();

    const Condition conditions[] = {
        {"idle", 0, std::chrono::milliseconds(0), FeedFault::none},
        {"healthy", kWatchedCodes, std::chrono::milliseconds(0), FeedFault::none},
        {"delayed", kWatchedCodes, std::chrono::milliseconds(300), FeedFault::none},
        {"hanging", kWatchedCodes, std::chrono::milliseconds(0), FeedFault::hang},
    };
    std::printf("%lld ms per condition, %lld ms probe; gaps include the probe period\n",
                static_cast<long long>(runFor.count()),
                static_cast<long long>(kProbePeriod.count()));
    std::printf(
        "goals: shown <= %.0f ms, p99 gap <= %.0f ms, max gap <= %.0f ms, closed < %.0f ms\n\n",
        kShownGoalMs, kP99GoalMs, kMaxGoalMs, kClosedGoalMs);
    std::printf("%-8s %9s %9s %8s %8s %9s %9s %8s %8s %9s  %s\n", "", "shown ms", "ran ms",
                "requests", "p50 ms", "p99 ms", "max ms", "p99/idle", "max/idle", "closed ms",
                "goals");
    Figures idle;
    for (const Condition& condition : conditions) {
        const Figures f = measure(condition, root / condition.name, runFor);
        if (condition.codes == 0) idle = f;
        std::printf("%-8s %9.1f %9.0f %8d %8.2f %9.2f %9.2f %8.1f %8.1f %9.1f  %s\n",
                    condition.name, f.shownMs, f.ranMs, f.requests, f.p50, f.p99, f.max,
                    idle.p99 > 0 ? f.p99 / idle.p99 : 0.0, idle.max > 0 ? f.max / idle.max : 0.0,
                    f.closedMs, missedGoals(f).c_str());
        std::fflush(stdout);
    }
    std::filesystem::remove_all(root);
    return 0;
}
