#pragma once
// A look at a store file from outside the program, as SQLite itself sees it.
#include <sqlite3.h>

#include <string>

namespace quovella::testing {

// The first value of a statement's first row on a connection of the test's own to an
// existing file: "" when there is no row, "<null>" for NULL, "<error>" when it fails.
inline std::string queryText(const std::string& path, const std::string& statement) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    std::string out = "<error>";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, statement.c_str(), -1, &st, nullptr) == SQLITE_OK) {
        const int step = sqlite3_step(st);
        const unsigned char* text = step == SQLITE_ROW ? sqlite3_column_text(st, 0) : nullptr;
        if (step == SQLITE_ROW) out = text ? reinterpret_cast<const char*>(text) : "<null>";
        if (step == SQLITE_DONE) out = "";
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

}  // namespace quovella::testing
