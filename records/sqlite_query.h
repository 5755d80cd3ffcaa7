#pragma once
// One SQL statement run to completion on an SQLite connection, its rows taken as GBK
// texts. Nothing stays open after a call returns.
#include <sqlite3.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/sql_error.h"

namespace quovella {

using SqlParameter = std::optional<std::string>;  // UTF-8 text; nullopt binds null

struct QueryResult {
    std::vector<std::string> columns;            // GBK names
    std::vector<std::vector<std::string>> rows;  // GBK texts
};

// A column value as the store reads it: INTEGER digits, REAL with 8 decimals, "[BLOB]",
// "" for null, text converted to GBK.
std::string columnText(sqlite3_stmt* statement, int column);
// One column's buffer, kept from row to row: a text equal to the one converted last is not
// converted again (a table of snapshots repeats its names row after row).
struct ColumnBuffer {
    std::string text;
    std::string convertedFrom;  // the UTF-8 text `text` holds in GBK; empty when none
};
// The same text as a view: into the statement's own bytes for ASCII text (valid until the
// next step), otherwise into buffer.
std::string_view columnTextView(sqlite3_stmt* statement, int column, ColumnBuffer& buffer);

// Each call that fails gives its cause to `error` when one is given (SQLite's code and
// message, or why the text was refused); a call that succeeds leaves `error` alone.

// Runs exactly one statement (anything but blanks or ";" after it is refused unrun),
// binding parameters 1..n. Rows and column names go to `into` when given.
bool runSql(sqlite3* db, std::string_view sqlUtf8, const std::vector<SqlParameter>& parameters,
            QueryResult* into = nullptr, SqlError* error = nullptr);

// Runs exactly one statement like runSql, handing each row to `row` as it is stepped, without
// collecting anything; `columns` gets the GBK column names first. `row` answers false to
// stop early, which makes the call answer false (a stop is no failure: `error` is left alone).
bool streamSql(sqlite3* db, std::string_view sqlUtf8, const std::vector<SqlParameter>& parameters,
               const std::function<void(const std::vector<std::string>& columns)>& columns,
               const std::function<bool(sqlite3_stmt* statement)>& row, SqlError* error = nullptr);

// The result column names (UTF-8) of a statement, prepared but not run.
std::optional<std::vector<std::string>> resultColumns(sqlite3* db, std::string_view sqlUtf8,
                                                      SqlError* error = nullptr);

}  // namespace quovella
