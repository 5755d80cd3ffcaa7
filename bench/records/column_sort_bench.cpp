// The records-list column sort on 100,000 and 1,000,000 rows of a records list, as a ratio
// against std::stable_sort of the same trimmed keys in the same run (the order any plain
// comparison sort would give, without the list's tie rules), and how each grows from
// 100,000 to 1,000,000 rows against n log n (x12). Also numbers the tolerance blurs, which
// take the direct simulation.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "records/column_sort.h"
#include "support/run_times_reporter.h"

namespace quovella {
namespace {

enum Column { dates, codes, prices, changes, blurredPrices, columnCount };

constexpr const char* kColumnNames[] = {"dates", "codes", "prices", "changes", "blurredPrices"};
constexpr SortKind kColumnKinds[] = {SortKind::text, SortKind::text, SortKind::number,
                                     SortKind::text, SortKind::number};

// Weekdays over ten years, as "2016-03-04".
std::vector<std::string> tradingDays() {
    std::vector<std::string> days;
    int weekday = 3;  // 2014-01-01 was a Wednesday
    for (int year = 2014; year < 2024; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const bool leap = year % 4 == 0;
            const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            for (int day = 1; day <= lengths[month - 1]; ++day, weekday = (weekday + 1) % 7) {
                if (weekday == 0 || weekday == 6) continue;
                char text[48];
                std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
                days.emplace_back(text);
            }
        }
    }
    return days;
}

// 400 codes of both exchanges, as "sh600887".
std::vector<std::string> stockCodes() {
    std::vector<std::string> codes;
    for (int i = 0; i < 400; ++i) {
        char text[32];
        if (i % 2 == 0) {
            std::snprintf(text, sizeof text, "sh%06d", 600000 + 7 * i);
        } else {
            std::snprintf(text, sizeof text, "sz%06d", 1 + 5 * i);
        }
        codes.emplace_back(text);
    }
    return codes;
}

// The rows in random order, as after a sort by another column; many ties as in a real list.
std::vector<std::vector<std::string>> makeTable(std::size_t rows) {
    static const std::vector<std::string> allDays = tradingDays();
    static const std::vector<std::string> allCodes = stockCodes();
    std::mt19937 random(static_cast<unsigned>(rows));
    std::uniform_int_distribution<std::size_t> day(0, allDays.size() - 1);
    std::uniform_int_distribution<std::size_t> code(0, allCodes.size() - 1);
    std::uniform_int_distribution<int> cents(100, 9000);
    std::uniform_int_distribution<int> hundredths(-1000, 1000);
    std::vector<std::vector<std::string>> table(columnCount);
    for (std::size_t i = 0; i < rows; ++i) {
        table[dates].push_back(allDays[day(random)]);
        table[codes].push_back(allCodes[code(random)]);
        const int c = cents(random);
        char text[32];
        std::snprintf(text, sizeof text, "%d.%02d", c / 100, c % 100);
        table[prices].emplace_back(text);
        // One price in ten a hair off, as a computed price can be.
        table[blurredPrices].push_back(i % 10 == 0 ? std::string(text) + "00001" : text);
        const int h = hundredths(random);
        std::snprintf(text, sizeof text, "%s%d.%02d%%", h < 0 ? "-" : "", std::abs(h) / 100,
                      std::abs(h) % 100);
        table[changes].emplace_back(text);
    }
    return table;
}

const std::vector<std::string>& cellsFor(std::size_t rows, Column column) {
    static std::vector<std::pair<std::size_t, std::vector<std::vector<std::string>>>> made;
    for (const auto& [n, table] : made) {
        if (n == rows) return table[column];
    }
    made.emplace_back(rows, makeTable(rows));
    return made.back().second[column];
}

void stableSortBaseline(benchmark::State& state, Column column) {
    const std::vector<std::string>& cells =
        cellsFor(static_cast<std::size_t>(state.range(0)), column);
    for (auto _ : state) {
        std::vector<std::size_t> order(cells.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        if (kColumnKinds[column] == SortKind::number) {
            std::vector<double> values;
            values.reserve(cells.size());
            for (const std::string& cell : cells)
                values.push_back(leadingDouble(sortKeyText(cell)));
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
        } else {
            std::vector<std::string_view> keys;
            keys.reserve(cells.size());
            for (const std::string& cell : cells) keys.push_back(sortKeyText(cell));
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
        }
        benchmark::DoNotOptimize(order.data());
    }
}

void columnSort(benchmark::State& state, Column column) {
    const std::vector<std::string>& cells =
        cellsFor(static_cast<std::size_t>(state.range(0)), column);
    const std::vector<std::string_view> views(cells.begin(), cells.end());
    for (auto _ : state) {
        std::vector<int> order =
            sortedRowOrder(views, kColumnKinds[column], SortDirection::forward);
        benchmark::DoNotOptimize(order.data());
    }
}

void registerAll() {
    for (int c = 0; c < columnCount; ++c) {
        const auto column = static_cast<Column>(c);
        const std::string name = kColumnNames[c];
        for (const auto& [kind, run] : {std::pair{"columnSort/", &columnSort},
                                        std::pair{"stableSort/", &stableSortBaseline}}) {
            auto* bench = benchmark::RegisterBenchmark((kind + name).c_str(), run, column);
            bench->Arg(100000)->Unit(benchmark::kMillisecond);
            // The direct simulation grows as n sqrt(n); one size shows its cost.
            if (column != blurredPrices) bench->Arg(1000000);
        }
    }
}

class RatioReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double nLogN = 10 * std::log(1e6) / std::log(1e5);
        std::printf("\n%-14s %8s %12s %12s %7s\n", "column", "rows", "sort ms", "stable ms",
                    "ratio");
        for (const char* name : kColumnNames) {
            for (const char* rows : {"/100000", "/1000000"}) ratio(name, rows);
            const double sortGrowth = growth(std::string("columnSort/") + name);
            const double stableGrowth = growth(std::string("stableSort/") + name);
            if (sortGrowth > 0 && stableGrowth > 0) {
                std::printf("%-14s growth x10 rows: sort x%.1f, stable_sort x%.1f, n log n x%.1f\n",
                            name, sortGrowth, stableGrowth, nLogN);
            }
        }
    }

  private:
    void ratio(const std::string& name, const std::string& rows) const {
        const double sort = time("columnSort/" + name + rows);
        const double stable = time("stableSort/" + name + rows);
        if (sort <= 0 || stable <= 0) return;
        std::printf("%-14s %8s %12.2f %12.2f %6.2fx\n", name.c_str(), rows.c_str() + 1, sort,
                    stable, sort / stable);
    }

    // 0 when either size did not run.
    double growth(const std::string& name) const {
        const double small = time(name + "/100000");
        const double large = time(name + "/1000000");
        return small > 0 && large > 0 ? large / small : 0.0;
    }
};

}  // namespace
}  // namespace quovella

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    quovella::registerAll();
    quovella::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
