#include "records/record_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "records/statements.h"
#include "records/store_worker.h"
#include "store_fixture.h"
#include "support/unprivileged.h"

namespace quovella {
namespace {

class RecordStoreTest : public StoreFixture {
  protected:
    // Inserts one sj row with a code and a name through the program's insert sequence.
    void addSnapshot(RecordStore& store, const std::string& code, const std::string& name) {
        ASSERT_TRUE(store.openCursor("sj", RecordStore::kTable));
        ASSERT_TRUE(store.addNew());
        ASSERT_TRUE(store.writeField(gbk("股票代码"), code));
        ASSERT_TRUE(store.writeField(gbk("股票名称"), name));
    }
    std::vector<std::string> readColumn(RecordStore& store, const std::string& source, int kind,
                                        const std::string& column) {
        std::vector<std::string> values;
        if (!store.openCursor(source, kind)) return {"<failed>"};
        for (store.moveFirst(); !store.atEnd(); store.moveNext()) {
            values.push_back(store.readField(column));
        }
        store.closeCursor();
        return values;
    }
};

TEST_F(RecordStoreTest, StartUpOpenNeedsAnSqliteFileWithBothTables) {
    RecordStore store;
    EXPECT_TRUE(store.startUpOpen(dir_));
    EXPECT_TRUE(store.isOpen());

    RecordStore other;
    EXPECT_FALSE(other.open(path_, "secret"));  // the store has no password
    EXPECT_FALSE(other.startUpOpen(dir_ + "/missing"));
    EXPECT_FALSE(std::filesystem::exists(storePathIn(dir_ + "/missing")));  // never created

    const std::string corrupt = dir_ + "/corrupt";
    std::filesystem::create_directory(corrupt);
    std::ofstream(storePathIn(corrupt), std::ios::binary)
        << std::string("\x13\x37random bytes, not a store\xff\xfe", 29) << std::string(5000, 'x');
    EXPECT_FALSE(other.startUpOpen(corrupt));
    EXPECT_FALSE(other.isOpen());

    const std::string partial = dir_ + "/partial";
    std::filesystem::create_directory(partial);
    std::filesystem::copy_file(path_, storePathIn(partial));
    path_ = storePathIn(partial);
    ASSERT_TRUE(rawExec("drop table cy"));
    EXPECT_FALSE(other.startUpOpen(partial));
}

TEST_F(RecordStoreTest, AFailedOpenOrStatementKeepsItsCause) {
    RecordStore store;
    EXPECT_EQ(store.lastError().code, SQLITE_OK);
    EXPECT_FALSE(store.open(dir_ + "/missing/gp.mdb", ""));
    EXPECT_EQ(store.lastError().code, SQLITE_CANTOPEN);
    EXPECT_EQ(store.lastError().message, "unable to open database file");

    ASSERT_TRUE(store.startUpOpen(dir_));
    EXPECT_FALSE(store.openCursor("select * from nosuch", RecordStore::kStatement));
    EXPECT_EQ(store.lastError().code, SQLITE_ERROR);
    EXPECT_EQ(store.lastError().message, "no such table: nosuch");
    EXPECT_TRUE(store.openCursor("sj", RecordStore::kTable));  // a success keeps the cause
    EXPECT_EQ(store.lastError().message, "no such table: nosuch");
}

TEST_F(RecordStoreTest, WithoutConnectionOrBindingEverythingFailsQuietly) {
    RecordStore store;
    EXPECT_FALSE(store.openCursor("sj", RecordStore::kTable));
    EXPECT_FALSE(store.addNew());
    EXPECT_FALSE(store.writeField("id", "1"));
    EXPECT_EQ(store.readField("id"), "");
    EXPECT_TRUE(store.atEnd());
    EXPECT_EQ(store.recordCount(), 0);
    EXPECT_FALSE(store.moveFirst());
    EXPECT_FALSE(store.moveNext());
    EXPECT_FALSE(store.hasSnapshot("sh600887", "2020-08-07"));
    store.closeCursor();

    ASSERT_TRUE(store.open(path_, ""));
    EXPECT_FALSE(store.openCursor("sj", RecordStore::kTable));  // not bound yet
    EXPECT_TRUE(store.bindCursor());
    EXPECT_TRUE(store.openCursor("sj", RecordStore::kTable));
    EXPECT_FALSE(store.openCursor("", RecordStore::kTable));
    EXPECT_FALSE(store.openCursor("sj", 3));
}

TEST_F(RecordStoreTest, TablesReadInIdOrderWithCursorMovesAndCaseFreeNames) {
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(dir_));
    for (const char* code : {"sh600887", "sz000001", "sh601318"}) addSnapshot(store, code, "n");
    ASSERT_TRUE(store.openCursor("SJ", RecordStore::kTable));  // table names ignore case too
    ASSERT_EQ(store.recordCount(), 3);
    EXPECT_EQ(store.readField("id"), "1");
    EXPECT_EQ(store.readField("ID"), "1");
    EXPECT_EQ(store.readField(gbk("股票代码")), "sh600887");
    EXPECT_EQ(store.readField("nosuch"), "");
    EXPECT_FALSE(store.writeField(gbk("股票代码"), "x"));  // only a new row takes values
    EXPECT_TRUE(store.moveNext());
    EXPECT_TRUE(store.moveNext());
    EXPECT_FALSE(store.atEnd());
    EXPECT_EQ(store.readField("Id"), "3");
    EXPECT_TRUE(store.moveNext());  // past the last row
    EXPECT_TRUE(store.atEnd());
    EXPECT_EQ(store.readField("id"), "");
    EXPECT_FALSE(store.moveNext());
    EXPECT_TRUE(store.moveFirst());
    EXPECT_EQ(store.readField("id"), "1");
    store.closeCursor();
    EXPECT_TRUE(store.atEnd());

    EXPECT_FALSE(store.openCursor("nosuch", RecordStore::kTable));
    EXPECT_FALSE(store.openCursor("sj order by 1", RecordStore::kTable));
    EXPECT_FALSE(store.openCursor("sj; drop table cy", RecordStore::kTable));
    EXPECT_EQ(rawCount("cy"), 0u);
}

TEST_F(RecordStoreTest, EmptyTextIsStoredAsNullAndReadsBackEmpty) {
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(dir_));
    addSnapshot(store, "sh600887", "");
    ASSERT_TRUE(store.writeField(gbk("盈亏金额"), ""));
    store.closeCursor();
    EXPECT_EQ(rawColumn("select 盈亏金额 from sj"), std::vector<std::string>{"<null>"});
    EXPECT_EQ(rawColumn("select 股票名称 from sj"), std::vector<std::string>{"<null>"});
    EXPECT_EQ(readColumn(store, "sj", RecordStore::kTable, gbk("盈亏金额")),
              std::vector<std::string>{""});
}

TEST_F(RecordStoreTest, APendingRowIsWrittenByEveryWayTheCursorMovesOn) {
    {
        RecordStore store;
        ASSERT_TRUE(store.startUpOpen(dir_));
        ASSERT_TRUE(store.openCursor("cy", RecordStore::kTable));
        ASSERT_TRUE(store.addNew());
        ASSERT_TRUE(store.writeField(gbk("股票代码"), "sh600887"));
        EXPECT_EQ(store.readField(gbk("股票代码")), "sh600887");   // the new row is current
        EXPECT_TRUE(store.openCursor("sj", RecordStore::kTable));  // writes the cy row first
        EXPECT_EQ(rawCount("cy"), 1u);

        addSnapshot(store, "a", "1");
        ASSERT_TRUE(store.addNew());  // a second addNew writes the first row
        EXPECT_EQ(rawCount("sj"), 1u);
        ASSERT_TRUE(store.writeField(gbk("股票代码"), "b"));
        store.closeCursor();
        EXPECT_EQ(rawCount("sj"), 2u);

        addSnapshot(store, "c", "3");
        ASSERT_TRUE(store.commitNew());
        EXPECT_EQ(rawCount("sj"), 3u);
        addSnapshot(store, "d", "4");
        store.cancelNew();
        addSnapshot(store, "e", "5");  // left pending at destruction
    }
    EXPECT_EQ(rawColumn("select 股票代码 from sj order by id"),
              (std::vector<std::string>{"a", "b", "c", "e"}));
}

TEST_F(RecordStoreTest, AnAddNewThatCannotWriteThePendingRowStartsNoRow) {
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(dir_));
    addSnapshot(store, "sh600887", "n");
    // Another program takes the table away: the pending row can no longer be written.
    ASSERT_TRUE(rawExec("alter table sj rename to gone"));
    EXPECT_FALSE(store.addNew());
    EXPECT_FALSE(store.writeField(gbk("股票代码"), "x"));  // no new row was started
    ASSERT_TRUE(rawExec("alter table gone rename to sj"));
    store.openCursor("sj", RecordStore::kTable);
    store.closeCursor();
    EXPECT_EQ(rawCount("sj"), 0u);  // no empty row written behind the caller's back
}

TEST_F(RecordStoreTest, NonTextValuesReadAsText) {
    ASSERT_TRUE(rawExec(
        "insert into sj(id, 日期, 股票代码, 股票名称, 今开盘价) values(7, 20200807, 1.5, x'00ff', "
        "null);"
        "insert into sj(id, 日期) values(9223372036854775807, -12);"));
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(dir_));
    ASSERT_TRUE(store.openCursor("sj", RecordStore::kTable));
    EXPECT_EQ(store.readField("id"), "7");
    EXPECT_EQ(store.readField(gbk("日期")), "20200807");  // text affinity keeps the digits
    EXPECT_EQ(store.readField(gbk("股票代码")), "1.5");
    EXPECT_EQ(store.readField(gbk("股票名称")), "[BLOB]");
    EXPECT_EQ(store.readField(gbk("今开盘价")), "");
    store.moveNext();
    EXPECT_EQ(store.readField("id"), "9223372036854775807");
    // A column without text affinity, as a store made by another tool may have.
    ASSERT_TRUE(
        rawExec("create table t(id integer, r real, i integer); insert into t "
                "values(1, 2.25, -3); insert into t values(2, 1e300, 0)"));
    ASSERT_TRUE(store.openCursor("t", RecordStore::kTable));
    EXPECT_EQ(store.readField("r"), "2.25000000");
    EXPECT_EQ(store.readField("i"), "-3");
    store.moveNext();
    const std::string huge = store.readField("r");  // 301 digits, then the 8 decimals
    EXPECT_EQ(huge.size(), 310u);
    EXPECT_EQ(huge.substr(0, 4), "1000");
    EXPECT_EQ(huge.substr(huge.size() - 9), ".00000000");
}

TEST_F(RecordStoreTest, GbkNamesRoundTripByteForByte) {
    const std::vector<std::string> names = {gbk("伊利股份"), gbk("*ST康美"), gbk("ＡＢ１２　"),
                                            gbk("蘒鐂〇"), "\xA1\xA4\xA3\xA4"};
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(dir_));
    for (const std::string& name : names) addSnapshot(store, "sh600887", name);
    store.closeCursor();
    EXPECT_EQ(readColumn(store, "sj", RecordStore::kTable, gbk("股票名称")), names);
    // Stored as UTF-8, so other tools read the same names.
    EXPECT_EQ(rawColumn("select 股票名称 from sj where id=1"),
              std::vector<std::string>{"伊利股份"});
    // The list's read converts a name once for its repeats; a number between them is no
    // repeat.
    ASSERT_TRUE(
        rawExec("create table t(id integer, v); insert into t values(1, '伊利股份'), "
                "(2, '伊利股份'), (3, 5), (4, '伊利股份'), (5, '光明乳业')"));
    const RowsRead read =
        RecordStore::readRows(path_, "t", RecordStore::kTable, {"id", "v"}, "id", nullptr);
    ASSERT_TRUE(read.rows);
    std::vector<std::string> listed;
    for (int r = 0; r < read.rows->rowCount(); ++r) listed.emplace_back(read.rows->text(r, 1));
    EXPECT_EQ(listed, (std::vector<std::string>{gbk("伊利股份"), gbk("伊利股份"), "5",
                                                gbk("伊利股份"), gbk("光明乳业")}));
}

TEST_F(RecordStoreTest, AStaleIdNeverReachesANewerRow) {
    RecordStore store;
    ASSERT_TRUE(store.startUpOpen(dir_));
    addSnapshot(store, "a", "1");
    addSnapshot(store, "b", "2");
    store.closeCursor();
    ASSERT_TRUE(store.openCursor(deleteStatement("2"), RecordStore::kStatement));
    addSnapshot(store, "c", "3");
    store.closeCursor();
    EXPECT_EQ(rawColumn("select id from sj order by id"), (std::vector<std::string>{"1", "3"}));
    EXPECT_TRUE(store.openCursor(deleteStatement("2"), RecordStore::kStatement));  // no row: ok
    EXPECT_EQ(rawCount("sj"), 2u);
    EXPECT_TRUE(store.openCursor(deleteStatement("+3"), RecordStore::kStatement));
    EXPECT_EQ(rawColumn("select id from sj"), std::vector<std::string>{"1"});
}

TEST_F(RecordStoreTest, AReadOnlyStoreReadsButRefusesEveryWrite) {
    {
        RecordStore writer;
        ASSERT_TRUE(writer.startUpOpen(dir_));
        addSnapshot(writer, "sh600887", gbk("伊利股份"));
        ASSERT_TRUE(writer.writeField(gbk("日期"), "2020-08-07"));
    }
    RecordStore store;
    ASSERT_TRUE(store.open(path_, "", RecordStore::Access::readOnly));
    ASSERT_TRUE(store.bindCursor());
    EXPECT_TRUE(store.isReadOnly());
    EXPECT_EQ(readColumn(store, "sj", RecordStore::kTable, gbk("股票名称")),
              std::vector<std::string>{gbk("伊利股份")});
    EXPECT_TRUE(store.hasSnapshot("sh600887", "2020-08-07"));

    ASSERT_TRUE(store.openCursor("sj", RecordStore::kTable));
    EXPECT_FALSE(store.addNew());
    EXPECT_FALSE(store.writeField(gbk("股票代码"), "x"));
    EXPECT_FALSE(store.openCursor(deleteStatement("1"), RecordStore::kStatement));
    EXPECT_FALSE(
        store.openCursor(updateHoldingStatement("1", "2", "3", "4", "1"), RecordStore::kStatement));
    EXPECT_FALSE(store.openCursor("delete from sj", RecordStore::kStatement));
    EXPECT_EQ(rawCount("sj"), 1u);
}

TEST_F(RecordStoreTest, AFileTheSystemWillNotLetUsWriteOpensReadOnly) {
    {
        RecordStore writer;  // leaves the file in WAL mode, as the program does
        ASSERT_TRUE(writer.startUpOpen(dir_));
        addSnapshot(writer, "sh600887", "n");
    }
    // Everyone may use the directory (for the WAL index); nobody but root may write the file.
    ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
    ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
    EXPECT_TRUE(testing::runUnprivileged([&] {
        RecordStore store;
        if (!store.startUpOpen(dir_) || !store.isReadOnly()) return false;
        const std::vector<std::string> codes =
            readColumn(store, "sj", RecordStore::kTable, gbk("股票代码"));
        if (codes != std::vector<std::string>{"sh600887"}) return false;
        if (!store.openCursor("sj", RecordStore::kTable) || store.addNew()) return false;
        return !store.openCursor(deleteStatement("1"), RecordStore::kStatement);
    }));
    EXPECT_EQ(rawCount("sj"), 1u);
}

TEST_F(RecordStoreTest, AWalStoreInADirectoryWeMayNotWriteOpensReadOnly) {
    {
        RecordStore writer;  // WAL mode; a clean close leaves no index beside the file
        ASSERT_TRUE(writer.startUpOpen(dir_));
        addSnapshot(writer, "sh600887", "n");
    }
    ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    const bool checked = testing::runUnprivileged([&] {
        RecordStore store;
        if (!store.startUpOpen(dir_) || !store.isReadOnly()) return false;
        if (readColumn(store, "sj", RecordStore::kTable, gbk("股票代码")) !=
            std::vector<std::string>{"sh600887"}) {
            return false;
        }
        return !store.openCursor(deleteStatement("1"), RecordStore::kStatement);
    });
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(rawCount("sj"), 1u);
}

// Sequences asked of the store's worker from two threads run whole, one after another, and
// the writes asked before the worker goes are done before the store closes.
TEST_F(RecordStoreTest, TheStoresWorkerRunsEverySequenceWholeAndFinishesWhatWasAsked) {
    {
        StoreWorker owned;
        RecordStore* const store = &owned.store();
        owned.worker().post([&](const CancelFlag&) {
            ASSERT_TRUE(store->startUpOpen(dir_));
            ASSERT_TRUE(store->openCursor("cy", RecordStore::kTable));
            ASSERT_TRUE(store->addNew());
            store->closeCursor();
        });
        std::thread other([&] {
            for (int i = 0; i < 300; ++i) {
                owned.worker().post([store, i](const CancelFlag&) {
                    store->openCursor(updateHoldingStatement(std::to_string(i), "a", "r", "t", "1"),
                                      RecordStore::kStatement);
                    store->closeCursor();
                });
            }
        });
        for (int i = 0; i < 300; ++i) {
            owned.worker().post([store, i](const CancelFlag&) {
                ASSERT_TRUE(store->openCursor("sj", RecordStore::kTable));
                ASSERT_TRUE(store->addNew());
                ASSERT_TRUE(store->writeField(gbk("股票代码"), std::to_string(i)));
                ASSERT_TRUE(store->openCursor("sj", RecordStore::kTable));
                ASSERT_EQ(store->recordCount(), i + 1);
                store->closeCursor();
            });
        }
        other.join();
    }
    EXPECT_EQ(rawCount("sj"), 300u);
    EXPECT_EQ(rawCount("cy"), 1u);
}

// An hour of revaluation passes over 20 holdings, and a save every ten minutes, while another
// program holds the write lock (a statement here gives up after 5 ms instead of 2 s): the
// queue never holds more than one update per holding besides the saves. While the worker is
// busy, a holding's later update replaces the one waiting; a close drops those still waiting.
TEST_F(RecordStoreTest, UnderALongLockTheQueueKeepsOneUpdatePerHolding) {
    constexpr int kHoldings = 20;
    constexpr int kPasses = 3600;
    constexpr int kPassesPerSave = 600;
    for (int i = 0; i < kHoldings; ++i)
        ASSERT_TRUE(rawExec("insert into cy(股票代码) values('x')"));
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);

    StoreWorker owned;
    RecordStore* const store = &owned.store();
    store->setLockWait(std::chrono::milliseconds(5));
    owned.post(StoreJobKind::asked, 0, [&](const CancelFlag&) { store->startUpOpen(dir_); });
    const auto pass = [&](int number) {
        for (int id = 1; id <= kHoldings; ++id) {
            owned.post(StoreJobKind::recomputed, id, [store, number, id](const CancelFlag&) {
                store->openCursor(updateHoldingStatement(std::to_string(number), "a", "r", "t",
                                                         std::to_string(id)),
                                  RecordStore::kStatement);
                store->closeCursor();
            });
        }
    };
    std::size_t longest = 0;
    for (int number = 1; number <= kPasses; ++number) {
        pass(number);
        if (number % kPassesPerSave == 0) {
            owned.post(StoreJobKind::asked, 0,
                       [&](const CancelFlag&) { addSnapshot(*store, "s", "n"); });
        }
        longest = std::max(longest, owned.queued());
    }
    const int asked = 1 + kPasses / kPassesPerSave;  // the open and the saves
    EXPECT_LE(longest, static_cast<std::size_t>(kHoldings + asked));
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    std::atomic<bool> go{false};
    const auto holdTheWorker = [&] {
        go = false;
        owned.post(StoreJobKind::asked, 0, [&](const CancelFlag&) {
            while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    };
    const auto prices = [&] { return rawColumn("select distinct 现价 from cy"); };
    holdTheWorker();
    pass(kPasses + 1);
    pass(kPasses + 2);
    go = true;
    while (!owned.worker().idle()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(prices(), std::vector<std::string>{std::to_string(kPasses + 2)});

    holdTheWorker();
    pass(kPasses + 3);
    owned.closeBy(std::chrono::steady_clock::now() + StoreWorker::kCloseTime);
    go = true;
    while (!owned.worker().idle()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(prices(), std::vector<std::string>{std::to_string(kPasses + 2)});
}

// A store job's outcome is its one error channel: the store's refusal with SQLite's code, a
// throw with its cause, and a job the store no longer takes, never an outcome that is ok.
TEST_F(RecordStoreTest, AStoreJobWithoutAValueFailsWithItsCause) {
    auto owned = std::make_unique<StoreWorker>();
    std::vector<StoreOutcome<Stored>> outcomes;
    const auto keep = [&outcomes](StoreOutcome<Stored> outcome) { outcomes.push_back(outcome); };
    owned->ask<Stored>([](RecordStore& store) { return storedIf(store.startUpOpen("/nowhere")); },
                       keep);
    owned->ask<Stored>([](RecordStore&) -> std::optional<Stored> { throw std::runtime_error("x"); },
                       keep);
    owned->worker().finish();
    owned->ask<Stored>([](RecordStore&) { return storedIf(true); }, keep);
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_EQ(std::count_if(outcomes.begin(), outcomes.end(), [](auto& o) { return o.ok(); }), 0);
    EXPECT_EQ(outcomes[0].error.code, SQLITE_CANTOPEN);
    EXPECT_EQ(outcomes[1].error.code, SQLITE_INTERNAL);
    EXPECT_NE(outcomes[1].error.message.find('x'), std::string::npos);
    EXPECT_EQ(outcomes[2].error.code, SQLITE_ABORT);
}

}  // namespace
}  // namespace quovella
