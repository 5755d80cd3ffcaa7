#include "records/record_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <thread>
#include <vector>

#include "common/gbk.h"
#include "records/sqlite_query.h"
#include "records/statements.h"
#include "records/store_text.h"

namespace quovella {
namespace {

// WAL with synchronous=FULL: a commit is synced to disk before the call returns, so a
// snapshot or holding the program reported saved survives a power cut, not only a killed
// process. It costs one fsync per commit (bench/holdings/durability_bench.cpp); a batch of
// writes pays it once in a transaction (writeRevaluations).
constexpr const char* kPragmas[] = {"pragma journal_mode=WAL", "pragma synchronous=FULL"};
constexpr int kBusyTimeoutMs = 2000;

bool hasBothTables(sqlite3* db, SqlError& error) {
    QueryResult result;
    if (!runSql(db,
                "select count(*) from sqlite_master where type='table' and name in "
                "('sj','cy')",
                {}, &result, &error)) {
        return false;
    }
    if (result.rows.size() == 1 && result.rows[0][0] == "2") return true;
    error = {SQLITE_ERROR, "not a record store: no tables sj and cy"};
    return false;
}

// "file:" + the path with the bytes a URI gives a meaning percent-encoded, read as a file
// that nothing changes (no WAL index needed).
std::string immutableUri(std::string_view file) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : file) {
        if (c == '%' || c == '?' || c == '#') {
            uri += '%';
            uri += hex[static_cast<unsigned char>(c) >> 4];
            uri += hex[static_cast<unsigned char>(c) & 0x0F];
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

// LIKE as SQLite has it, except that a null text matches as the empty text: a snapshot
// whose code and name are both empty is stored as nulls and must still be found by an
// empty search, which lists every row.
void likeTreatingNullAsEmpty(sqlite3_context* context, int, sqlite3_value** values) {
    const unsigned char* pattern = sqlite3_value_text(values[0]);
    if (pattern == nullptr) return sqlite3_result_null(context);
    const unsigned char* text = sqlite3_value_text(values[1]);
    const char* subject = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    sqlite3_result_int(context,
                       sqlite3_strlike(reinterpret_cast<const char*>(pattern), subject, 0) == 0);
}

void registerLikeTreatingNullAsEmpty(sqlite3* db) {
    sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               likeTreatingNullAsEmpty, nullptr, nullptr, nullptr);
}

std::optional<std::size_t> findColumn(const std::vector<std::string>& names,
                                      std::string_view column) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (sameColumnName(names[i], column)) return i;
    }
    return std::nullopt;
}

SqlParameter parameter(std::string_view gbkText) {
    if (gbkText.empty()) return std::nullopt;
    return storeTextFromGbk(gbkText);
}

using BoundStatement = std::pair<std::string, std::vector<SqlParameter>>;

// The parameterised form of one of the program's own statements.
std::optional<BoundStatement> boundForm(const RecognisedStatement& statement) {
    const std::vector<std::string>& p = statement.parts;
    switch (statement.shape) {
        case StatementShape::search: {
            const SqlParameter pattern = storeTextFromGbk("%" + p[0]);
            return {{"select * from sj where 股票代码 like ?1 or 股票名称 like ?1", {pattern}}};
        }
        case StatementShape::deleteById:
            // The id column's integer affinity turns the bound digits into a number.
            return {{"delete from sj where id=?1", {p[0]}}};
        case StatementShape::updateHolding:
            return {{"update cy set 现价=?1,盈亏金额=?2,盈亏率=?3,更新时间=?4 where id=?5",
                     {parameter(p[0]), parameter(p[1]), parameter(p[2]), parameter(p[3]), p[4]}}};
        default:
            return std::nullopt;
    }
}

// What a table cursor reads of a table (ascending id), or the search statement bound.
std::optional<BoundStatement> readStatement(std::string_view source, int kind) {
    if (kind == RecordStore::kTable) {
        if (!isPlainIdentifier(source)) return std::nullopt;
        return BoundStatement{
            "select * from " + quotedIdentifier(storeTextFromGbk(source)) + " order by id", {}};
    }
    const RecognisedStatement recognised = recogniseStatement(source);
    if (recognised.shape != StatementShape::search) return std::nullopt;
    return boundForm(recognised);
}

}  // namespace

struct RecordStore::Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }
};

struct RecordStore::LockWait {
    using Steady = std::chrono::steady_clock;
    std::atomic<std::chrono::milliseconds::rep> longestMs{kBusyTimeoutMs};
    std::atomic<Steady::rep> deadline{Steady::time_point::max().time_since_epoch().count()};
    // When the current wait began; only the connection's thread touches it.
    Steady::time_point since;
};

// Short sleeps first, as SQLite's own handler takes them: most locks are brief.
int RecordStore::waitForLock(void* data, int attempts) {
    using Steady = LockWait::Steady;
    constexpr int kSleepsMs[] = {1, 2, 5, 10, 15, 20, 25};
    auto& wait = *static_cast<LockWait*>(data);
    const Steady::time_point now = Steady::now();
    if (attempts == 0) wait.since = now;
    const Steady::time_point end =
        std::min(wait.since + std::chrono::milliseconds(wait.longestMs.load()),
                 Steady::time_point(Steady::duration(wait.deadline.load())));
    if (now >= end) return 0;
    const int step =
        kSleepsMs[std::min(static_cast<std::size_t>(attempts), std::size(kSleepsMs) - 1)];
    std::this_thread::sleep_for(
        std::min<Steady::duration>(std::chrono::milliseconds(step), end - now));
    return 1;
}

struct RecordStore::Cursor {
    bool open = false;
    // Table cursors: the table and its columns (UTF-8 for SQL, GBK for matching).
    std::string table;
    std::vector<std::string> tableColumns;
    std::vector<std::string> tableColumnsGbk;
    bool loaded = false;
    QueryResult result;
    std::size_t position = 0;
    // The pending new row: values by table column, and which were written.
    bool pending = false;
    std::vector<std::string> pendingValues;
    std::vector<bool> pendingWritten;

    void reset() { *this = Cursor{}; }
    bool onRow() const { return open && loaded && position < result.rows.size(); }
};

RecordStore::RecordStore()
    : cursor_(std::make_unique<Cursor>()), lockWait_(std::make_unique<LockWait>()) {}

void RecordStore::setLockWait(std::chrono::milliseconds longest) {
    lockWait_->longestMs = longest.count();
}

void RecordStore::endLockWaitsBy(std::chrono::steady_clock::time_point deadline) {
    lockWait_->deadline = deadline.time_since_epoch().count();
}

RecordStore::~RecordStore() {
    close();
}

bool RecordStore::startUpOpen(const std::filesystem::path& runDirectory) {
    close();
    // The directory's name as the file system has it: it may hold what GBK cannot.
    return openFile(storePathIn(runDirectory), Access::readWrite) && bindCursor();
}

bool RecordStore::open(std::string_view path, std::string_view password, Access access) {
    close();
    if (!password.empty()) {
        lastError_ = {SQLITE_ERROR, "the store has no password"};
        return false;
    }
    return openFile(storeTextFromGbk(path), access);
}

bool RecordStore::openFile(const std::string& file, Access access) {
    std::string opened = file;
    // The first attempt's cause is kept: the others only stand in for it.
    SqlError error;
    SqlError fallbackError;
    std::unique_ptr<Connection> connection = openConnection(file, access, error);
    // A WAL store in a directory we may not write: its index cannot be made beside it, so
    // even reading fails read-write. Read-only, and failing that as an unchanging file, the
    // records still show; every write then fails as on a read-only file.
    if (!connection && access == Access::readWrite) {
        connection = openConnection(file, Access::readOnly, fallbackError);
    }
    if (!connection) {
        opened = immutableUri(file);
        connection = openConnection(opened, Access::readOnly, fallbackError);
    }
    if (!connection) {
        lastError_ = std::move(error);
        return false;
    }
    file_ = std::move(opened);
    sqlite3_busy_handler(connection->db, &RecordStore::waitForLock, lockWait_.get());
    if (sqlite3_db_readonly(connection->db, "main") == 0) {
        QueryResult ignored;  // pragmas answer with a row; best effort on odd file systems
        for (const char* pragma : kPragmas) runSql(connection->db, pragma, {}, &ignored);
    }
    connection_ = std::move(connection);
    return true;
}

std::unique_ptr<RecordStore::Connection> RecordStore::openConnection(const std::string& file,
                                                                     Access access,
                                                                     SqlError& error) {
    auto connection = std::make_unique<Connection>();
    // A connection is only ever used by one thread at a time (its worker), so SQLite's own
    // lock around every call, a good part of a million-row read, is not needed.
    const int flags = (access == Access::readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &connection->db, flags, nullptr) != SQLITE_OK) {
        error = {sqlite3_errcode(connection->db), sqlite3_errmsg(connection->db)};
        return nullptr;
    }
    sqlite3_busy_timeout(connection->db, kBusyTimeoutMs);
    if (!hasBothTables(connection->db, error)) return nullptr;
    registerLikeTreatingNullAsEmpty(connection->db);
    return connection;
}

RowsRead RecordStore::readRows(const std::string& file, std::string_view source, int kind,
                               const std::vector<std::string>& columns, std::string_view keyName,
                               const std::atomic<bool>* cancel) {
    SqlError error;
    // A cancel leaves no cause.
    const auto failed = [&] { return RowsRead{std::nullopt, std::move(error)}; };
    if (file.empty()) {
        error = {SQLITE_MISUSE, "the store is not open"};
        return failed();
    }
    const std::optional<BoundStatement> read = readStatement(source, kind);
    if (!read) {
        error = {SQLITE_ERROR, "not a read source"};
        return failed();
    }
    const std::unique_ptr<Connection> connection = openConnection(file, Access::readOnly, error);
    if (!connection) return failed();
    TextTable table(static_cast<int>(columns.size()));
    std::vector<int> from;
    std::vector<ColumnBuffer> buffers(columns.size());
    std::vector<std::string_view> cells(columns.size());
    const auto mapColumns = [&](const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto found = findColumn(names, i == 0 ? keyName : columns[i]);
            from.push_back(found ? static_cast<int>(*found) : -1);
        }
    };
    const auto takeRow = [&](sqlite3_stmt* statement) {
        if (cancel != nullptr && cancel->load()) return false;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            cells[i] =
                from[i] < 0 ? std::string_view() : columnTextView(statement, from[i], buffers[i]);
        }
        table.appendRow(cells);
        return true;
    };
    if (!streamSql(connection->db, read->first, read->second, mapColumns, takeRow, &error)) {
        return failed();
    }
    table.shrinkToFit();
    return {std::move(table), {}};
}

bool RecordStore::bindCursor() {
    bound_ = connection_ != nullptr;
    return bound_;
}

void RecordStore::close() {
    closeCursor();
    bound_ = false;
    connection_.reset();
    file_.clear();
}

bool RecordStore::isOpen() const {
    return connection_ != nullptr;
}

bool RecordStore::isReadOnly() const {
    return connection_ != nullptr && sqlite3_db_readonly(connection_->db, "main") != 0;
}

bool RecordStore::inTransaction() const {
    return connection_ != nullptr && sqlite3_get_autocommit(connection_->db) == 0;
}

bool RecordStore::openCursor(std::string_view source, int kind) {
    if (source.empty() || !bound_ || connection_ == nullptr) return false;
    const bool committed = commitPending();
    cursor_->reset();
    bool opened = false;
    if (kind == kTable) opened = openTable(source);
    if (kind == kStatement) opened = runStatement(source);
    if (!opened) cursor_->reset();
    return opened && committed;
}

bool RecordStore::openTable(std::string_view name) {
    if (!isPlainIdentifier(name)) {
        lastError_ = {SQLITE_ERROR, "not a table name"};
        return false;
    }
    const std::string table = storeTextFromGbk(name);
    QueryResult found;
    if (!runSql(connection_->db,
                "select name from sqlite_master where type='table' and name=?1 collate nocase",
                {table}, &found, &lastError_)) {
        return false;
    }
    if (found.rows.size() != 1) {
        lastError_ = {SQLITE_ERROR, "no such table: " + table};
        return false;
    }
    const std::string actual = found.rows[0][0];
    const auto columns = resultColumns(
        connection_->db, "select * from " + quotedIdentifier(actual) + " order by id", &lastError_);
    if (!columns) return false;
    Cursor& c = *cursor_;
    c.open = true;
    c.table = actual;
    c.tableColumns = *columns;
    for (const std::string& column : c.tableColumns) {
        c.tableColumnsGbk.push_back(gbkFromStoreText(column));
    }
    return true;
}

bool RecordStore::runStatement(std::string_view statement) {
    const RecognisedStatement recognised = recogniseStatement(statement);
    if (recognised.shape == StatementShape::malformed) {
        lastError_ = {SQLITE_ERROR, "malformed statement"};
        return false;
    }
    QueryResult result;
    const auto bound = boundForm(recognised);
    const bool ran =
        bound ? runSql(connection_->db, bound->first, bound->second, &result, &lastError_)
              : runSql(connection_->db, storeTextFromGbk(statement), {}, &result, &lastError_);
    if (!ran) return false;
    Cursor& c = *cursor_;
    c.open = true;
    c.loaded = true;
    c.result = std::move(result);
    return true;
}

bool RecordStore::loadRows() {
    Cursor& c = *cursor_;
    if (!c.open) return false;
    if (c.loaded) return true;
    QueryResult result;
    const std::string sql = "select * from " + quotedIdentifier(c.table) + " order by id";
    if (!runSql(connection_->db, sql, {}, &result, &lastError_)) return false;
    c.loaded = true;
    c.result = std::move(result);
    c.position = 0;
    return true;
}

void RecordStore::closeCursor() {
    commitPending();
    cursor_->reset();
}

bool RecordStore::addNew() {
    Cursor& c = *cursor_;
    if (!c.open || c.table.empty() || isReadOnly()) return false;
    // A row still pending that cannot be written starts nothing: the caller stops at the
    // false, and an empty row left pending would be written by the next open.
    if (!commitPending()) return false;
    c.pending = true;
    c.pendingValues.assign(c.tableColumns.size(), {});
    c.pendingWritten.assign(c.tableColumns.size(), false);
    return true;
}

bool RecordStore::writeField(std::string_view column, std::string_view value) {
    Cursor& c = *cursor_;
    if (!c.pending) return false;
    const auto index = findColumn(c.tableColumnsGbk, column);
    if (!index) return false;
    c.pendingValues[*index] = std::string(value);
    c.pendingWritten[*index] = true;
    return true;
}

bool RecordStore::commitNew() {
    return commitPending();
}

void RecordStore::cancelNew() {
    cursor_->pending = false;
}

bool RecordStore::commitPending() {
    Cursor& c = *cursor_;
    if (!c.pending) return true;
    c.pending = false;
    std::string names;
    std::string marks;
    std::vector<SqlParameter> values;
    for (std::size_t i = 0; i < c.tableColumns.size(); ++i) {
        if (!c.pendingWritten[i]) continue;
        names += (values.empty() ? "" : ",") + quotedIdentifier(c.tableColumns[i]);
        marks += values.empty() ? "?" : ",?";
        values.push_back(parameter(c.pendingValues[i]));
    }
    const std::string table = quotedIdentifier(c.table);
    const std::string sql = values.empty()
                                ? "insert into " + table + " default values"
                                : "insert into " + table + "(" + names + ") values(" + marks + ")";
    // The cursor's row snapshot was taken before this row existed; the next open sees it.
    return connection_ != nullptr && runSql(connection_->db, sql, values, nullptr, &lastError_);
}

std::string RecordStore::readField(std::string_view column) {
    Cursor& c = *cursor_;
    if (c.pending) {
        const auto index = findColumn(c.tableColumnsGbk, column);
        return index ? c.pendingValues[*index] : std::string();
    }
    if (!loadRows() || !c.onRow()) return {};
    const auto index = findColumn(c.result.columns, column);
    return index ? c.result.rows[c.position][*index] : std::string();
}

bool RecordStore::moveFirst() {
    if (!loadRows() || cursor_->result.rows.empty()) return false;
    cursor_->position = 0;
    return true;
}

bool RecordStore::moveNext() {
    if (!loadRows() || !cursor_->onRow()) return false;
    ++cursor_->position;
    return true;
}

long RecordStore::recordCount() {
    return loadRows() ? static_cast<long>(cursor_->result.rows.size()) : 0;
}

bool RecordStore::atEnd() {
    return !loadRows() || !cursor_->onRow();
}

bool RecordStore::hasSnapshot(std::string_view code, std::string_view date) {
    if (connection_ == nullptr) return false;
    const Cursor& c = *cursor_;
    if (c.pending && c.table == "sj") {
        const auto codeAt = findColumn(c.tableColumnsGbk, gbk("股票代码"));
        const auto dateAt = findColumn(c.tableColumnsGbk, gbk("日期"));
        if (codeAt && dateAt && c.pendingValues[*codeAt] == code &&
            c.pendingValues[*dateAt] == date) {
            return true;
        }
    }
    QueryResult result;
    return runSql(connection_->db, "select 1 from sj where 股票代码=?1 and 日期=?2 limit 1",
                  {parameter(code), parameter(date)}, &result, &lastError_) &&
           !result.rows.empty();
}

}  // namespace quovella
