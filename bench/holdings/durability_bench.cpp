// What synchronous=FULL (one sync to disk per commit, so a saved row survives a power cut)
// costs the store's writes, each as a ratio against the same work under NORMAL in the same
// run, on a store in a directory on disk (/var/tmp: /tmp may be in memory, where a sync is
// free):
// - one snapshot insert the program's way (openCursor("sj", 2), addNew, 13 writeFields,
//   commitNew);
// - a revaluation pass of kHoldings rows written one writeRevaluation at a time, as the
//   program does today, and the same pass in one transaction (writeRevaluations).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "holdings/holdings_store.h"
#include "holdings/revaluation_pass.h"
#include "records/columns.h"
#include "records/record_store.h"
#include "records/store_schema.h"
#include "support/run_times_reporter.h"

namespace quovella {
namespace {

constexpr int kHoldings = 20;
constexpr int kInserts = 50;

const std::string& benchDir() {
    static const std::string dir = [] {
        char pattern[] = "/var/tmp/quovella-durability-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir;
}

// A fresh store holding kHoldings purchases, opened as the program opens it (FULL), then
// set to the synchronous mode asked for.
void openStore(RecordStore& store, const char* synchronous) {
    const std::string path = benchDir() + "/gp.mdb";
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    makeEmptyStore(path);
    store.open(path, "");
    store.bindCursor();
    for (int i = 0; i < kHoldings; ++i) {
        insertHolding(store, {"2020-08-07", "sh600887", gbk("伊利股份"), "100", "9.87", "987"});
    }
    store.openCursor(std::string("pragma synchronous=") + synchronous, RecordStore::kStatement);
    store.openCursor("pragma synchronous", RecordStore::kStatement);
    const std::string mode = store.readField("synchronous");
    if (mode != (std::string(synchronous) == "FULL" ? "2" : "1")) {
        std::fprintf(stderr, "synchronous=%s did not take (%s)\n", synchronous, mode.c_str());
        std::exit(1);
    }
    store.closeCursor();
}

std::vector<RevaluedHolding> pass(int round) {
    std::vector<RevaluedHolding> results;
    for (int i = 1; i <= kHoldings; ++i) {
        const std::string price = std::to_string(10 + round % 7) + ".00";
        results.push_back({i - 1, std::to_string(i), "sh600887", price, "13", "1.32",
                           "2020-08-07 15:00:03", "2020-08-07 15:00:03"});
    }
    return results;
}

void snapshotInsert(benchmark::State& state, const char* synchronous) {
    RecordStore store;
    openStore(store, synchronous);
    const std::vector<std::string>& columns = snapshotColumns();
    const std::vector<std::string> values = {
        "2020-08-07", "sh600887", gbk("伊利股份"), "31.20", "31.05",    "31.62", "31.80",
        "30.95",      "123456",   gbk("38.6亿"),   "1.84%", "15:00:03", ""};
    for (auto _ : state) {
        for (int i = 0; i < kInserts; ++i) {
            store.openCursor("sj", RecordStore::kTable);
            store.addNew();
            for (std::size_t k = 0; k < values.size(); ++k)
                store.writeField(columns[k + 1], values[k]);
            store.commitNew();
        }
    }
}

void revaluationRows(benchmark::State& state, const char* synchronous) {
    RecordStore store;
    openStore(store, synchronous);
    int round = 0;
    for (auto _ : state) {
        for (const RevaluedHolding& r : pass(++round)) {
            writeRevaluation(store, r.id, r.price, r.amount, r.rate, r.storedTime);
        }
    }
}

void revaluationTransaction(benchmark::State& state, const char* synchronous) {
    RecordStore store;
    openStore(store, synchronous);
    int round = 0;
    for (auto _ : state) writeRevaluations(store, pass(++round));
}

BENCHMARK_CAPTURE(snapshotInsert, NORMAL, "NORMAL")->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK_CAPTURE(snapshotInsert, FULL, "FULL")->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK_CAPTURE(revaluationRows, NORMAL, "NORMAL")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(revaluationRows, FULL, "FULL")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(revaluationTransaction, NORMAL, "NORMAL")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(revaluationTransaction, FULL, "FULL")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// Time per insert and per pass, each against its NORMAL baseline of the same run.
class RatioReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        line("one snapshot insert", "snapshotInsert/FULL", kInserts);
        line("revaluation pass, row by row", "revaluationRows/FULL", 1);
        line("revaluation pass, one transaction", "revaluationTransaction/FULL", 1);
        line("the same pass in one transaction", "revaluationTransaction/NORMAL", 1,
             "revaluationRows/NORMAL");
        line("FULL in one transaction vs NORMAL row by row", "revaluationTransaction/FULL", 1,
             "revaluationRows/NORMAL");
        std::printf("(a pass is %d holdings; the baseline is the same work under NORMAL)\n",
                    kHoldings);
    }

  private:
    void line(const char* what, const std::string& name, int per, std::string baseline = {}) const {
        if (baseline.empty()) baseline = name.substr(0, name.find('/')) + "/NORMAL";
        const double ms = time(name) / per;
        const double base = time(baseline) / per;
        if (base <= 0) return;
        std::printf("%-46s %8.3f ms  x%.2f against %s (%.3f ms)\n", what, ms, ms / base,
                    baseline.c_str(), base);
    }
};

}  // namespace
}  // namespace quovella

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    quovella::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(quovella::benchDir());
    return 0;
}
