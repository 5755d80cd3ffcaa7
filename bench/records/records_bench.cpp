// The record store's two heavy paths, each as a ratio against plain SQLite doing the same
// work in the same run:
// - 10,000 snapshot inserts through openCursor/addNew/writeField, each committed by the
//   next openCursor as the program does, against one prepared insert loop in one
//   transaction;
// - reading 100,000 snapshots with openCursor("sj", 2) and readField of 14 columns per row
//   (the data side of the list fill), against a prepared select stepping the same rows.
// Also the cost of one autocommitted row under synchronous=NORMAL and FULL (WAL). The store
// runs under FULL; the cursor's inserts here are set to NORMAL so the ratio stays the
// cursor's own cost, and bench/holdings/durability_bench.cpp measures the sync's.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "records/columns.h"
#include "records/record_store.h"
#include "records/store_schema.h"
#include "support/run_times_reporter.h"

namespace quovella {
namespace {

constexpr int kInserts = 10000;
constexpr int kReads = 100000;
constexpr int kAutocommitRows = 500;

const std::string& benchDir() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/quovella-records-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return dir;
}

std::string freshStore(const std::string& name) {
    const std::string path = benchDir() + "/" + name;
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    makeEmptyStore(path);
    return path;
}

std::vector<std::string> snapshotValues(int i) {
    return {"2020-08-07",
            "sh" + std::to_string(600000 + i % 1000),
            gbk("伊利股份"),
            "31.20",
            "31.05",
            "31.62",
            "31.80",
            "30.95",
            "123456",
            gbk("38.6亿"),
            "1.84%",
            "15:00:03",
            ""};
}

sqlite3* rawOpen(const std::string& path, const char* synchronous) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "pragma journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, (std::string("pragma synchronous=") + synchronous).c_str(), nullptr, nullptr,
                 nullptr);
    return db;
}

// Prepared inserts of snapshot rows i in [from, to), each its own commit unless the
// caller wraps them in a transaction.
void rawInsert(sqlite3* db, int from, int to) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(
        db,
        "insert into sj(日期,股票代码,股票名称,今开盘价,昨收盘价,当前价格,最高价,"
        "最低价,成交量,成交金额,涨跌,时间,盈亏金额) values(?,?,?,?,?,?,?,?,?,?,?,?,?)",
        -1, &st, nullptr);
    for (int i = from; i < to; ++i) {
        const std::vector<std::string> values = snapshotValues(i);
        for (int k = 0; k < 13; ++k) {
            const std::string utf8 = gbkToUtf8(values[static_cast<std::size_t>(k)]);
            if (utf8.empty()) {
                sqlite3_bind_null(st, k + 1);
            } else {
                sqlite3_bind_text(st, k + 1, utf8.c_str(), -1, SQLITE_TRANSIENT);
            }
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

void insertPreparedBaseline(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3* db = rawOpen(freshStore("baseline.mdb"), "NORMAL");
        state.ResumeTiming();
        sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
        rawInsert(db, 0, kInserts);
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
}

void insertThroughCursor(benchmark::State& state) {
    const std::vector<std::string>& columns = snapshotColumns();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = freshStore("cursor.mdb");
        RecordStore store;
        store.open(path, "");
        store.bindCursor();
        store.openCursor("pragma synchronous=NORMAL", RecordStore::kStatement);
        state.ResumeTiming();
        for (int i = 0; i < kInserts; ++i) {
            const std::vector<std::string> values = snapshotValues(i);
            store.openCursor("sj", RecordStore::kTable);
            store.addNew();
            for (std::size_t k = 0; k < 13; ++k) store.writeField(columns[k + 1], values[k]);
        }
        store.closeCursor();
    }
}

void autocommitInsert(benchmark::State& state) {
    const char* mode = state.range(0) == 1 ? "NORMAL" : "FULL";
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3* db = rawOpen(freshStore("autocommit.mdb"), mode);
        state.ResumeTiming();
        rawInsert(db, 0, kAutocommitRows);
        sqlite3_close(db);
    }
}

const std::string& readStore() {
    static const std::string path = [] {
        const std::string p = freshStore("read.mdb");
        sqlite3* db = rawOpen(p, "NORMAL");
        sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
        rawInsert(db, 0, kReads);
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return p;
    }();
    return path;
}

void readRawBaseline(benchmark::State& state) {
    sqlite3* db = rawOpen(readStore(), "NORMAL");
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "select * from sj order by id", -1, &st, nullptr);
        std::vector<std::vector<std::string>> rows;
        while (sqlite3_step(st) == SQLITE_ROW) {
            auto& row = rows.emplace_back();
            for (int k = 0; k < 14; ++k) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, k));
                row.emplace_back(text != nullptr ? text : "");
            }
        }
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(rows.data());
    }
    sqlite3_close(db);
}

void readThroughCursor(benchmark::State& state) {
    RecordStore store;
    store.open(readStore(), "");
    store.bindCursor();
    const std::vector<std::string>& columns = snapshotColumns();
    for (auto _ : state) {
        store.openCursor("sj", RecordStore::kTable);
        const long count = store.recordCount();
        std::vector<std::vector<std::string>> rows;
        rows.reserve(static_cast<std::size_t>(count));
        for (long i = 0; i < count; ++i) {
            auto& row = rows.emplace_back();
            for (const std::string& column : columns) row.push_back(store.readField(column));
            store.moveNext();
        }
        store.closeCursor();
        benchmark::DoNotOptimize(rows.data());
    }
}

BENCHMARK(insertPreparedBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(insertThroughCursor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(autocommitInsert)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(readRawBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(readThroughCursor)->Unit(benchmark::kMillisecond)->Iterations(3);

// Prints time per row and the ratios against the baselines of the same run.
class RatioReporter : public RunTimesReporter {
  public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        line("insertThroughCursor", "insertPreparedBaseline", kInserts);
        line("autocommitInsert/1", "insertPreparedBaseline", kAutocommitRows, kInserts);
        line("autocommitInsert/2", "insertPreparedBaseline", kAutocommitRows, kInserts);
        line("readThroughCursor", "readRawBaseline", kReads);
        std::printf("(autocommitInsert/1 = synchronous NORMAL, /2 = FULL; per row)\n");
    }

  private:
    void line(const std::string& name, const std::string& baseline, int rows,
              int baselineRows = 0) const {
        if (baselineRows == 0) baselineRows = rows;
        const double perRow = time(name) * 1000.0 / rows;  // ms -> us
        const double base = time(baseline) * 1000.0 / baselineRows;
        if (base <= 0) return;
        std::printf("%-22s %9.2f us/row  x%.2f against %s (%.2f us/row)\n", name.c_str(), perRow,
                    perRow / base, baseline.c_str(), base);
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
