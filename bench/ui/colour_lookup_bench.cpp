// Cost of one cell's colour lookup with one early row rule per row: 100,000 rows against
// 100 rows, and the literal walk of every rule at 100,000 rows for contrast. Each figure
// is printed as a ratio against the 100-row lookup measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/run_times_reporter.h"
#include "ui_core/cell_colour_hook.h"

namespace quovella {
namespace {

constexpr int kColumns = 14;
constexpr int kLookups = 4096;

struct Cell {
    int column;
    int row;
};

// One rule per row, as the records list gets after a full fill.
CellColourHook hookWithRows(int rows) {
    CellColourHook hook;
    hook.resetRules();
    for (int row = 0; row < rows; ++row) {
        const std::string change = row % 2 == 0 ? "-1.10%" : "2.00%";
        hook.addRowRuleIfMatch(row, 0, row % 2 == 0 ? 0x00FF7F : 0x4763FF, change, change);
    }
    return hook;
}

std::vector<Cell> randomCells(int rows) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> row(0, rows - 1);
    std::uniform_int_distribution<int> column(0, kColumns - 1);
    std::vector<Cell> cells(kLookups);
    for (Cell& cell : cells) cell = {column(random), row(random)};
    return cells;
}

// The unindexed walk: every rule of every list, later matches overriding earlier ones.
CellColours literalWalk(const CellColourHook& hook, int column, int row) {
    CellColours colours{hook.defaultTextColour(), hook.defaultBackground()};
    for (std::size_t i = 0; i < kRuleListCount; ++i) {
        const auto list = static_cast<RuleList>(i);
        const bool byRow = list != RuleList::Column;
        const bool byColumn = list != RuleList::EarlyRow && list != RuleList::LateRow;
        for (const ColourRule& rule : hook.rules(list)) {
            if ((!byRow || rule.row == row) && (!byColumn || rule.column == column)) {
                colours = {rule.textColour, rule.background};
            }
        }
    }
    return colours;
}

void indexedLookup(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const CellColourHook hook = hookWithRows(rows);
    const std::vector<Cell> cells = randomCells(rows);
    std::size_t k = 0;
    for (auto _ : state) {
        const Cell& cell = cells[k++ % kLookups];
        benchmark::DoNotOptimize(hook.coloursFor(cell.column, cell.row));
    }
}

void literalLookup(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const CellColourHook hook = hookWithRows(rows);
    const std::vector<Cell> cells = randomCells(rows);
    std::size_t k = 0;
    for (auto _ : state) {
        const Cell& cell = cells[k++ % kLookups];
        benchmark::DoNotOptimize(literalWalk(hook, cell.column, cell.row));
    }
}

BENCHMARK(indexedLookup)->Arg(100)->Arg(100000);
BENCHMARK(literalLookup)->Arg(100)->Arg(100000);

// Prints every run's time per lookup and its ratio to the 100-row indexed lookup.
class RatioReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double baseline = time("indexedLookup/100");
        if (baseline <= 0) return;
        std::printf("\nper lookup, ratio against indexedLookup/100 (%.2f ns):\n", baseline);
        for (const auto& [name, lookup] : times()) {
            std::printf("  %-24s %12.2f ns  x%.2f\n", name.c_str(), lookup, lookup / baseline);
        }
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
