#pragma once
// A fresh empty store in a temporary directory for each test, and raw SQL for setting up
// and checking what the store API alone could not.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "records/record_store.h"
#include "records/store_schema.h"

namespace quovella {

class StoreFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quovella-records-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = storePathIn(dir_);
        ASSERT_EQ(makeEmptyStore(path_), MakeStoreResult::created);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Runs SQL (UTF-8) on a separate connection; true on success.
    bool rawExec(const std::string& sql) const {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        const bool ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }
    // The first column of every row of a query (UTF-8), "<null>" for null.
    std::vector<std::string> rawColumn(const std::string& sql) const {
        std::vector<std::string> out;
        sqlite3* db = nullptr;
        sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        while (st != nullptr && sqlite3_step(st) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(st, 0);
            out.push_back(text ? reinterpret_cast<const char*>(text) : "<null>");
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }
    std::size_t rawCount(const std::string& table) const {
        return std::stoul(rawColumn("select count(*) from " + table).at(0));
    }

    std::string dir_;
    std::string path_;
};

}  // namespace quovella
