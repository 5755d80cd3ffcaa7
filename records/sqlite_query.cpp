#include "records/sqlite_query.h"

#include <memory>
#include <utility>

#include "common/gbk.h"
#include "common/numbers.h"
#include "records/store_text.h"

namespace quovella {
namespace {

struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

bool onlyBlanks(const char* tail) {
    for (; *tail != '\0'; ++tail) {
        const char c = *tail;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';') return false;
    }
    return true;
}

// The connection's own account of its last failure; taken before the statement is
// finalized, which may reset it.
void keepFailure(sqlite3* db, SqlError* error) {
    if (error != nullptr) *error = {sqlite3_errcode(db), sqlite3_errmsg(db)};
}

void keepRefusal(SqlError* error, std::string reason) {
    if (error != nullptr) *error = {SQLITE_ERROR, std::move(reason)};
}

// A compiled single statement, or empty when the text does not compile or holds more.
Statement prepareOne(sqlite3* db, std::string_view sqlUtf8, SqlError* error) {
    // A zero byte would end the text early and hide whatever follows it from the tail check.
    if (sqlUtf8.find('\0') != std::string_view::npos) {
        keepRefusal(error, "a zero byte in the statement");
        return {};
    }
    const std::string sql(sqlUtf8);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &raw, &tail) !=
        SQLITE_OK) {
        keepFailure(db, error);
        sqlite3_finalize(raw);
        return {};
    }
    Statement statement(raw);
    if (statement == nullptr || tail == nullptr || !onlyBlanks(tail)) {
        keepRefusal(error, statement == nullptr ? "no statement" : "more than one statement");
        return {};
    }
    return statement;
}

bool bindAll(sqlite3_stmt* statement, const std::vector<SqlParameter>& parameters,
             SqlError* error) {
    if (sqlite3_bind_parameter_count(statement) != static_cast<int>(parameters.size())) {
        keepRefusal(error, "wrong number of parameters");
        return false;
    }
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        const int rc = parameters[i] ? sqlite3_bind_text(statement, index, parameters[i]->data(),
                                                         static_cast<int>(parameters[i]->size()),
                                                         SQLITE_TRANSIENT)
                                     : sqlite3_bind_null(statement, index);
        if (rc != SQLITE_OK) {
            keepFailure(sqlite3_db_handle(statement), error);
            return false;
        }
    }
    return true;
}

std::vector<std::string> columnNames(sqlite3_stmt* statement, bool asGbk) {
    std::vector<std::string> names;
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement, i);
        const std::string_view text = name != nullptr ? name : "";
        names.push_back(asGbk ? gbkFromStoreText(text) : std::string(text));
    }
    return names;
}

}  // namespace

std::string_view columnTextView(sqlite3_stmt* statement, int column, ColumnBuffer& buffer) {
    const auto hold = [&buffer](std::string text) -> std::string_view {
        buffer.text = std::move(text);
        buffer.convertedFrom.clear();
        return buffer.text;
    };
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return hold(std::to_string(sqlite3_column_int64(statement, column)));
        case SQLITE_FLOAT:
            // 1e300 takes over 300 digits in this format.
            return hold(fixedText(sqlite3_column_double(statement, column), 8));
        case SQLITE_BLOB:
            return "[BLOB]";
        default: {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            const int size = sqlite3_column_bytes(statement, column);
            if (text == nullptr) return {};
            const std::string_view utf8(text, static_cast<std::size_t>(size));
            if (isAsciiText(utf8)) return utf8;
            if (buffer.convertedFrom == utf8) return buffer.text;
            buffer.text = utf8ToGbk(utf8);
            buffer.convertedFrom = utf8;
            return buffer.text;
        }
    }
}

std::string columnText(sqlite3_stmt* statement, int column) {
    ColumnBuffer buffer;
    const std::string_view text = columnTextView(statement, column, buffer);
    return text.data() == buffer.text.data() ? std::move(buffer.text) : std::string(text);
}

bool runSql(sqlite3* db, std::string_view sqlUtf8, const std::vector<SqlParameter>& parameters,
            QueryResult* into, SqlError* error) {
    if (db == nullptr) return false;
    const Statement statement = prepareOne(db, sqlUtf8, error);
    if (statement == nullptr || !bindAll(statement.get(), parameters, error)) return false;
    QueryResult result;
    if (into != nullptr) result.columns = columnNames(statement.get(), true);
    const int count = sqlite3_column_count(statement.get());
    for (;;) {
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            keepFailure(db, error);
            return false;
        }
        if (into == nullptr) continue;
        std::vector<std::string>& row = result.rows.emplace_back();
        row.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) row.push_back(columnText(statement.get(), i));
    }
    if (into != nullptr) *into = std::move(result);
    return true;
}

bool streamSql(sqlite3* db, std::string_view sqlUtf8, const std::vector<SqlParameter>& parameters,
               const std::function<void(const std::vector<std::string>& columns)>& columns,
               const std::function<bool(sqlite3_stmt* statement)>& row, SqlError* error) {
    if (db == nullptr) return false;
    const Statement statement = prepareOne(db, sqlUtf8, error);
    if (statement == nullptr || !bindAll(statement.get(), parameters, error)) return false;
    columns(columnNames(statement.get(), true));
    for (;;) {
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_DONE) return true;
        if (rc != SQLITE_ROW) {
            keepFailure(db, error);
            return false;
        }
        if (!row(statement.get())) return false;
    }
}

std::optional<std::vector<std::string>> resultColumns(sqlite3* db, std::string_view sqlUtf8,
                                                      SqlError* error) {
    if (db == nullptr) return std::nullopt;
    const Statement statement = prepareOne(db, sqlUtf8, error);
    if (statement == nullptr) return std::nullopt;
    return columnNames(statement.get(), false);
}

}  // namespace quovella
