// Parsing a quote reply for 800 codes into the quote table, against a plain memchr scan for
// ";" over the same bytes as the baseline of the same run; and two hostile 8 MiB replies
// (only ";", and one quote of only ",") against that normal parse.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/gbk.h"
#include "quotes/quote_reply.h"
#include "support/run_times_reporter.h"

namespace {

constexpr int codeCount = 800;

std::string replyFor800Codes() {
    const std::string name = quovella::gbk("伊利股份");
    std::string reply;
    for (int i = 0; i < codeCount; ++i) {
        reply += "quote_sh" + std::to_string(600000 + i) + "=\"" + name +
                 ",27.50,27.40,27.61,27.80,27.30,27.60,27.62,12345678,340000000.500";
        for (int level = 0; level < 10; ++level) reply += ",1200,27.6" + std::to_string(level);
        reply += ",2024-05-06,15:00:03,00\";\n";
    }
    return reply;
}

const std::string& reply() {
    static const std::string text = replyFor800Codes();
    return text;
}

void memchrBaseline(benchmark::State& state) {
    const std::string& text = reply();
    for (auto _ : state) {
        std::size_t found = 0;
        const char* at = text.data();
        const char* const end = text.data() + text.size();
        while ((at = static_cast<const char*>(
                    std::memchr(at, ';', static_cast<std::size_t>(end - at)))) != nullptr) {
            ++found;
            ++at;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["per_entry_ns"] = benchmark::Counter(
        codeCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void fillFrom(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        quovella::QuoteTable table(codeCount);
        benchmark::DoNotOptimize(quovella::fillQuoteTableFromReply(text, table));
    }
}

void fillQuoteTable(benchmark::State& state) {
    fillFrom(state, reply());
    state.counters["per_entry_ns"] = benchmark::Counter(
        codeCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

constexpr std::size_t hostileBytes = std::size_t{8} << 20;

void fillFromSemicolons(benchmark::State& state) {
    static const std::string text(hostileBytes, ';');
    fillFrom(state, text);
}

void fillFromOneQuoteOfCommas(benchmark::State& state) {
    static const std::string text = "q=\"" + std::string(hostileBytes, ',') + "\";\n";
    fillFrom(state, text);
}

// Medians of several runs: the machine is shared, single runs wander.
BENCHMARK(memchrBaseline)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(fillQuoteTable)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(fillFromSemicolons)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(fillFromOneQuoteOfCommas)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// After all runs: the median parse time per entry and its ratio to the median memchr scan
// of the same run.
class RatioReporter : public quovella::RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double baselineNs = time("memchrBaseline") * 1000.0 / codeCount;  // us -> ns
        const double parseNs = time("fillQuoteTable") * 1000.0 / codeCount;
        if (baselineNs <= 0 || parseNs <= 0) return;
        std::printf(
            "fillQuoteTable: %.1f ns per entry (goal <= 2000 ns), %.1f x the memchr "
            "scan (%.2f ns per entry)\n",
            parseNs, parseNs / baselineNs, baselineNs);
        // Per reply, not per entry: a hostile reply must cost about what its size says.
        const double normal = time("fillQuoteTable");
        for (const char* hostile : {"fillFromSemicolons", "fillFromOneQuoteOfCommas"}) {
            std::printf("%s: %.0f us, %.1f x the 800-code reply\n", hostile, time(hostile),
                        time(hostile) / normal);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    // A fresh process hands freed heap back to the system after every table, so each run
    // would mostly time page faults; a long-running window has freed large blocks before,
    // which makes glibc keep such memory. One large block freed sets the same state here.
    void* volatile large = std::malloc(std::size_t{4} << 20);
    std::free(large);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
