// The full fill of the records list (store read, bulk append with time-sliced event
// processing, recolour) in the real main window on the offscreen platform: 100,000
// snapshots against an empty store in the same run. Reports the time ratio and the peak
// memory each fill adds (VmHWM after resetting it, against VmRSS before the fill).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "records/store_schema.h"
#include "support/run_times_reporter.h"
#include "support/silent_dialogs.h"
#include "ui/list_view.h"

namespace quovella {

// The seam the main window grants benchmarks: drive the full fill, empty the list.
class RecordsListProbe {
  public:
    static void fill(MainWindow& window) { window.fillRecordsList(); }
    static void clear(MainWindow& window) {
        window.超级列表框_数据表->removeAllRows();
        window.recolourRecordsList();
    }
    static int rows(const MainWindow& window) { return window.超级列表框_数据表->rowCount(); }
};

namespace {

constexpr int kSnapshots = 100000;

const std::string& benchDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/quovella-list-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir;
}

// A run directory whose gp.mdb holds `rows` snapshots, written in one transaction (UTF-8,
// as the store keeps its texts).
std::string runDirectoryWith(const std::string& name, int rows) {
    const std::string dir = benchDir() + "/" + name;
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/gp.mdb";
    makeEmptyStore(path);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into sj(日期,股票代码,股票名称,今开盘价,昨收盘价,当前价格,最高价,"
                       "最低价,成交量,成交金额,涨跌,时间) "
                       "values(?,?,'伊利股份','31.20','31.05','31.62','31.80','30.95','123456',"
                       "'38.6亿',?,'15:00:03')",
                       -1, &st, nullptr);
    const char* changes[] = {"-1.10%", "0.52%", "2.00%", "-0.40%"};
    for (int i = 0; i < rows; ++i) {
        const std::string date = "2020-08-" + std::to_string(10 + i % 18);
        const std::string code = "sh" + std::to_string(600000 + i % 1000);
        sqlite3_bind_text(st, 1, date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, changes[i % 4], -1, SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return dir;
}

long statusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::stol(line.substr(prefix.size()));
    }
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct BenchWindow {
    explicit BenchWindow(const std::string& runDirectory)
        : window(state, runDirectory, "http://127.0.0.1:9/", WindowServices{&dialogs, &clock}) {}
    ~BenchWindow() { state.colourHook->detach(); }
    AppState state;
    SilentDialogs dialogs;
    FixedClock clock{LocalDateTime{2020, 8, 28, 0, 0, 0}};
    MainWindow window;
};

// Released by main while the application object still exists.
std::map<int, std::unique_ptr<BenchWindow>>& benchWindows() {
    static std::map<int, std::unique_ptr<BenchWindow>> windows;
    return windows;
}

BenchWindow& windowOver(int rows) {
    auto& slot = benchWindows()[rows];
    if (!slot) {
        slot = std::make_unique<BenchWindow>(runDirectoryWith("rows" + std::to_string(rows), rows));
    }
    return *slot;
}

void fillRecordsList(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    MainWindow& window = windowOver(rows).window;
    long peakKb = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RecordsListProbe::clear(window);
        malloc_trim(0);
        const long before = statusKb("VmRSS");
        resetPeak();
        state.ResumeTiming();
        RecordsListProbe::fill(window);
        state.PauseTiming();
        peakKb = std::max(peakKb, statusKb("VmHWM") - before);
        if (RecordsListProbe::rows(window) != rows) state.SkipWithError("rows missing");
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["peakMB"] = static_cast<double>(peakKb) / 1024.0;
}

BENCHMARK(fillRecordsList)->Arg(0)->Arg(kSnapshots)->Unit(benchmark::kMillisecond)->Iterations(5);

// The 100,000-row fill as a ratio against the empty-list fill of the same run.
class RatioReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::string full = "fillRecordsList/" + std::to_string(kSnapshots);
        const std::string empty = "fillRecordsList/0";
        if (time(empty) <= 0) return;
        std::printf(
            "\n%s: %.1f ms x%.0f against the empty-list fill (%.3f ms); peak +%.1f MB "
            "against +%.1f MB (goal: under 1000 ms and 150 MB)\n",
            full.c_str(), time(full), time(full) / time(empty), time(empty),
            counter(full, "peakMB"), counter(empty, "peakMB"));
    }
};

}  // namespace
}  // namespace quovella

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    quovella::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    quovella::benchWindows().clear();
    std::filesystem::remove_all(quovella::benchDir());
    return 0;
}
