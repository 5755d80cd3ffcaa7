// The records-list column sort on 10,000 and 100,000 rows of snapshot-like texts, as a
// ratio against std::stable_sort of the same trimmed keys in the same run (the order any
// plain comparison sort would give, without the list's tie rules). Also insertion one row
// at a time into one flat array (a plain upper-bound search, so not the list's tie rules),
// to show what keeping the rows in blocks saves as the list grows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "common/numbers.h"
#include "records/column_sort.h"
#include "support/run_times_reporter.h"

namespace quovella {
namespace {

// Changes like "-1.23%" (text column 11) and prices like "31.20" (number column 6), in
// random order, with many ties as in a real list.
struct Table {
    std::vector<std::string> changes;
    std::vector<std::string> prices;
};

const Table& table(std::size_t rows) {
    static std::vector<std::pair<std::size_t, Table>> made;
    for (const auto& [n, t] : made) {
        if (n == rows) return t;
    }
    std::mt19937 random(static_cast<unsigned>(rows));
    std::uniform_int_distribution<int> hundredths(-1000, 1000);
    std::uniform_int_distribution<int> cents(100, 9000);
    Table t;
    for (std::size_t i = 0; i < rows; ++i) {
        const int h = hundredths(random);
        char change[32];
        std::snprintf(change, sizeof change, "%s%d.%02d%%", h < 0 ? "-" : "", std::abs(h) / 100,
                      std::abs(h) % 100);
        t.changes.emplace_back(change);
        char price[32];
        const int c = cents(random);
        std::snprintf(price, sizeof price, "%d.%02d", c / 100, c % 100);
        t.prices.emplace_back(price);
    }
    made.emplace_back(rows, std::move(t));
    return made.back().second;
}

const std::vector<std::string>& cellsFor(std::size_t rows, SortKind kind) {
    return kind == SortKind::text ? table(rows).changes : table(rows).prices;
}

std::vector<std::string_view> views(const std::vector<std::string>& cells) {
    return {cells.begin(), cells.end()};
}

void stableSortBaseline(benchmark::State& state, SortKind kind) {
    const std::vector<std::string>& cells =
        cellsFor(static_cast<std::size_t>(state.range(0)), kind);
    for (auto _ : state) {
        std::vector<int> order(cells.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        if (kind == SortKind::number) {
            std::vector<double> values;
            values.reserve(cells.size());
            for (const std::string& cell : cells)
                values.push_back(leadingDouble(sortKeyText(cell)));
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return values[a] < values[b]; });
        } else {
            std::vector<std::string_view> keys;
            keys.reserve(cells.size());
            for (const std::string& cell : cells) keys.push_back(sortKeyText(cell));
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return keys[a] < keys[b]; });
        }
        benchmark::DoNotOptimize(order.data());
    }
}

void columnSort(benchmark::State& state, SortKind kind) {
    const std::vector<std::string_view> cells =
        views(cellsFor(static_cast<std::size_t>(state.range(0)), kind));
    for (auto _ : state) {
        std::vector<int> order = sortedRowOrder(cells, kind, SortDirection::forward);
        benchmark::DoNotOptimize(order.data());
    }
}

// Insertion into one flat array of row indexes: every insertion shifts the rows after it.
void flatInsertion(benchmark::State& state) {
    const std::vector<std::string>& cells =
        cellsFor(static_cast<std::size_t>(state.range(0)), SortKind::number);
    for (auto _ : state) {
        std::vector<double> values;
        values.reserve(cells.size());
        for (const std::string& cell : cells) values.push_back(leadingDouble(sortKeyText(cell)));
        std::vector<int> order;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double v = values[i];
            const auto at = std::upper_bound(order.begin(), order.end(), v,
                                             [&](double x, int row) { return x < values[row]; });
            order.insert(at, static_cast<int>(i));
        }
        benchmark::DoNotOptimize(order.data());
    }
}

void stableSortNumbers(benchmark::State& state) {
    stableSortBaseline(state, SortKind::number);
}
void stableSortTexts(benchmark::State& state) {
    stableSortBaseline(state, SortKind::text);
}
void columnSortNumbers(benchmark::State& state) {
    columnSort(state, SortKind::number);
}
void columnSortTexts(benchmark::State& state) {
    columnSort(state, SortKind::text);
}

BENCHMARK(stableSortNumbers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(columnSortNumbers)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(stableSortTexts)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(columnSortTexts)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(flatInsertion)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

class RatioReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        for (const char* rows : {"10000", "100000"}) {
            const std::string n = std::string("/") + rows;
            line("columnSortNumbers" + n, "stableSortNumbers" + n);
            line("columnSortTexts" + n, "stableSortTexts" + n);
            line("flatInsertion" + n, "stableSortNumbers" + n);
        }
    }

  private:
    void line(const std::string& name, const std::string& baseline) const {
        const double base = time(baseline);
        if (base <= 0 || time(name) <= 0) return;
        std::printf("%-26s %9.3f ms  x%.2f against %s (%.3f ms)\n", name.c_str(), time(name),
                    time(name) / base, baseline.c_str(), base);
    }
};

}  // namespace
}  // namespace quovella

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    quovella::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
