// Memory of the records list per row at 100,000 and 1,000,000 realistic rows of 14 columns
// (about 100 bytes of text a row): in a TextTable, in a ListModel, and in a shown ListView,
// each above its empty self, against the old layout (a std::vector<std::string> per row)
// holding the same texts in the same run. Heap bytes come from the allocator, resident
// and peak bytes from /proc/self/status. Also the time to append and to permute 1,000,000
// rows in both layouts.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "common/gbk.h"
#include "common/text_table.h"
#include "support/run_times_reporter.h"
#include "ui/list_model.h"
#include "ui/list_view.h"

namespace quovella {
namespace {

constexpr int kColumns = 14;
constexpr std::size_t kPool = 4096;
constexpr int kTimedRows = 1000000;

using RowCells = std::array<std::string, kColumns>;

// Distinct rows as the store gives them; row i takes pool row i % kPool and its own id.
const std::vector<RowCells>& pool() {
    static const std::vector<RowCells> rows = [] {
        const std::array<std::string, 4> names{gbk("伊利股份"), gbk("万科Ａ"), gbk("中信"),
                                               gbk("平安银行")};
        std::mt19937 random(7);
        std::uniform_int_distribution<int> cents(100, 9999);
        const auto price = [&] {
            const int c = cents(random);
            return std::to_string(c / 100) + "." + std::to_string(100 + c % 100).substr(1);
        };
        // Volumes and amounts like "1234.568万".
        const auto tenThousands = [&] {
            return std::to_string(1000 + cents(random) % 9000) + "." +
                   std::to_string(1000 + cents(random) % 1000).substr(1) + gbk("万");
        };
        std::vector<RowCells> out(kPool);
        for (std::size_t k = 0; k < kPool; ++k) {
            const std::string day = std::to_string(10 + k % 18);
            const std::string change = (k % 2 == 0 ? "-" : "") + price().substr(0, 4);
            out[k] = {"",
                      "2016-03-" + day,
                      "sh" + std::to_string(600000 + k),
                      names[k % 4],
                      price(),
                      price(),
                      price(),
                      price(),
                      price(),
                      tenThousands(),
                      tenThousands(),
                      change,
                      "2016-03-" + day + "  15:00:00",
                      ""};
        }
        return out;
    }();
    return rows;
}

// The texts of row i, valid until the next call.
const std::array<std::string_view, kColumns>& rowTexts(int i) {
    static std::array<char, 12> id;
    static std::array<std::string_view, kColumns> cells;
    const RowCells& row = pool()[static_cast<std::size_t>(i) % kPool];
    const auto end = std::to_chars(id.data(), id.data() + id.size(), 100000 + i).ptr;
    cells[0] = std::string_view(id.data(), static_cast<std::size_t>(end - id.data()));
    for (int c = 1; c < kColumns; ++c)
        cells[static_cast<std::size_t>(c)] = row[static_cast<std::size_t>(c)];
    return cells;
}

TextTable tableOf(int rows) {
    TextTable table(kColumns);
    for (int i = 0; i < rows; ++i) table.appendRow(rowTexts(i));
    return table;
}

std::vector<std::vector<std::string>> vectorsOf(int rows) {
    std::vector<std::vector<std::string>> out;
    out.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const auto& cells = rowTexts(i);
        out.emplace_back(cells.begin(), cells.end());
    }
    return out;
}

std::vector<ListColumn> listColumns() {
    return std::vector<ListColumn>(kColumns, ListColumn{"c", 60});
}

double textBytesPerRow(int rows) {
    double bytes = 0;
    for (int i = 0; i < rows; ++i) {
        for (const std::string_view cell : rowTexts(i)) bytes += static_cast<double>(cell.size());
    }
    return bytes / rows;
}

// ---- memory ----

double statusBytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field)) return std::stod(line.substr(field.size() + 1)) * 1024;
    }
    return 0;
}

double heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// Usage above a starting point: freed heap given back first, and the peak restarted.
class Usage {
  public:
    Usage() {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        heap_ = heapBytes();
        rss_ = statusBytes("VmRSS:");
    }
    void report(benchmark::State& state, int rows) const {
        const double n = rows;
        state.counters["heap"] = (heapBytes() - heap_) / n;
        state.counters["rss"] = (statusBytes("VmRSS:") - rss_) / n;
        state.counters["peak"] = (statusBytes("VmHWM:") - rss_) / n;
    }

  private:
    double heap_ = 0;
    double rss_ = 0;
};

// What `build` makes lives until its usage is read.
template <typename Build>
void measureBuilt(benchmark::State& state, Build build) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const Usage usage;
        const auto built = build(rows);
        usage.report(state, rows);
    }
}

void tableMemory(benchmark::State& state) {
    measureBuilt(state, [&](int rows) {
        TextTable table = tableOf(rows);
        state.counters["held"] = static_cast<double>(table.memoryBytes()) / rows;
        return table;
    });
}

// Built as a worker would, then taken over whole.
void modelMemory(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ListModel model;
        model.setColumns(listColumns());
        const Usage usage;
        model.replaceRows(tableOf(rows));
        usage.report(state, rows);
    }
}

void viewMemory(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        ListView view(listColumns(), nullptr);
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
        const Usage usage;
        view.replaceAllRows(tableOf(rows));
        view.scrollToRow(rows / 2);
        QApplication::processEvents();
        usage.report(state, rows);
    }
}

void vectorsMemory(benchmark::State& state) {
    measureBuilt(state, vectorsOf);
}

// ---- time ----

void tableAppend(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(tableOf(kTimedRows));
}

void vectorsAppend(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(vectorsOf(kTimedRows));
}

const std::vector<int>& shuffledOrder() {
    static const std::vector<int> order = [] {
        std::vector<int> out(kTimedRows);
        for (int r = 0; r < kTimedRows; ++r) out[static_cast<std::size_t>(r)] = r;
        std::shuffle(out.begin(), out.end(), std::mt19937(11));
        return out;
    }();
    return order;
}

void tablePermute(benchmark::State& state) {
    TextTable table = tableOf(kTimedRows);
    for (auto _ : state) benchmark::DoNotOptimize(table.permute(shuffledOrder()));
}

void modelPermute(benchmark::State& state) {
    ListModel model;
    model.setColumns(listColumns());
    model.replaceRows(tableOf(kTimedRows));
    for (auto _ : state) model.permuteRows(shuffledOrder());
}

void vectorsPermute(benchmark::State& state) {
    auto rows = vectorsOf(kTimedRows);
    for (auto _ : state) {
        std::vector<std::vector<std::string>> moved;
        moved.reserve(rows.size());
        for (const int from : shuffledOrder())
            moved.push_back(std::move(rows[static_cast<std::size_t>(from)]));
        rows.swap(moved);
    }
}

// The compact layouts first: the old one leaves the heap fragmented behind it.
BENCHMARK(tableMemory)->Arg(100000)->Arg(1000000)->Iterations(1);
BENCHMARK(modelMemory)->Arg(100000)->Arg(1000000)->Iterations(1);
BENCHMARK(viewMemory)->Arg(100000)->Arg(1000000)->Iterations(1);
BENCHMARK(tableAppend)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(tablePermute)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(modelPermute)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(vectorsMemory)->Arg(100000)->Arg(1000000)->Iterations(1);
BENCHMARK(vectorsAppend)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(vectorsPermute)->Unit(benchmark::kMillisecond)->Iterations(5);

// Bytes per row above empty, each against the old layout at the same row count, and the
// times against the old layout's.
class MemoryReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\ntext per row: %.1f bytes; a TextTable holds %.1f bytes a row at 1,000,000\n",
                    textBytesPerRow(kTimedRows), counter("tableMemory/1000000", "held"));
        std::printf("bytes per row above empty (heap / resident / peak resident), x old:\n");
        for (const char* rows : {"100000", "1000000"}) {
            const std::string old = std::string("vectorsMemory/") + rows;
            for (const char* layout :
                 {"tableMemory", "modelMemory", "viewMemory", "vectorsMemory"}) {
                const std::string name = std::string(layout) + "/" + rows;
                std::printf("  %-22s %7.1f %7.1f %7.1f   x%.3f heap  x%.3f peak\n", name.c_str(),
                            counter(name, "heap"), counter(name, "rss"), counter(name, "peak"),
                            ratio(name, old, "heap"), ratio(name, old, "peak"));
            }
        }
        std::printf("times for 1,000,000 rows, x old:\n");
        using Pair = std::pair<const char*, const char*>;
        for (const auto& [name, old] :
             std::initializer_list<Pair>{{"tableAppend", "vectorsAppend"},
                                         {"tablePermute", "vectorsPermute"},
                                         {"modelPermute", "vectorsPermute"}}) {
            std::printf("  %-14s %9.1f ms  x%.3f\n", name, time(name), time(name) / time(old));
        }
    }

  private:
    double ratio(const std::string& name, const std::string& old, const char* counterName) const {
        const double base = counter(old, counterName);
        return base > 0 ? counter(name, counterName) / base : 0.0;
    }
};

}  // namespace
}  // namespace quovella

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Each measurement sees the allocator as a fresh process does: without this, large
    // blocks freed by one measurement raise the threshold above which the next one's
    // blocks are mapped (and grown by remapping) instead of copied within the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    quovella::pool();  // made before any usage is measured
    benchmark::Initialize(&argc, argv);
    quovella::MemoryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
