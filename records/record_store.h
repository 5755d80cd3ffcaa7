#pragma once
// The record store "gp.mdb": one SQLite connection and its one shared cursor (the window's
// connection 数据库连接 and record set 记录集). Every value goes in and comes out as a GBK
// text; the file holds UTF-8. An empty text is stored as null and null reads as "".
//
// The cursor is static: openCursor takes the result rows into memory and leaves no SQLite
// statement open, so a caller may process GUI events between reads. A table cursor reads
// its rows (ascending id) at the first read after openCursor, so an insert sequence
// (openCursor(table), addNew, writeField...) never pays for reading the table.
//
// Threads: a store has one owner at a time and no lock; the window gives it to the store's
// worker (StoreWorker), which runs every sequence on the cursor whole, one after another.
// Readers on other threads use readRows, which opens a connection of its own.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_table.h"
#include "records/sql_error.h"

namespace quovella {

inline constexpr std::string_view kStoreFileName = "gp.mdb";

// Where the store lives in a run directory, in the file system's own bytes.
inline std::string storePathIn(const std::filesystem::path& runDirectory) {
    return (runDirectory / kStoreFileName).string();
}

// What readRows gives: the rows, or nothing and why.
struct RowsRead {
    std::optional<TextTable> rows;
    SqlError error;  // code 0 when cancelled
};

class RecordStore {
  public:
    enum class Access { readWrite, readOnly };
    enum Kind { kStatement = 1, kTable = 2 };

    RecordStore();
    ~RecordStore();  // writes a pending new row, then closes
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // The start-up open: the store at storePathIn(runDirectory), as open(path, "") would
    // open it, and bindCursor().
    bool startUpOpen(const std::filesystem::path& runDirectory);

    // Opens an existing store (never creates one): true only when the file is an SQLite
    // database holding the tables sj and cy. The store has no password; a non-empty one
    // is refused. A file the system lets us only read opens read-only: reads work, every
    // write answers false.
    bool open(std::string_view path, std::string_view password, Access access = Access::readWrite);
    // True when the cursor now works on the open connection.
    bool bindCursor();
    // Writes a pending new row and closes the connection; later operations fail quietly.
    void close();
    bool isOpen() const;
    bool isReadOnly() const;
    // How long a statement of this store waits for another program's write lock (2 s
    // unless set), and the moment no such wait may pass (a close's end). Set from any
    // thread; they hold for the waits that begin or go on after.
    void setLockWait(std::chrono::milliseconds longest);
    void endLockWaitsBy(std::chrono::steady_clock::time_point deadline);

    // True between a "begin" run through openCursor and its end, unless SQLite ended the
    // transaction itself on an error.
    bool inTransaction() const;

    // kind 1: a statement, run at once; kind 2: a table name (a plain identifier of an
    // existing table). A pending new row is written first. The statements of
    // statements.h run with their inserted parts bound as parameters; anything else runs
    // only when it is exactly one statement. False on any failure, and also when the
    // pending row could not be written (the new source is opened nonetheless, so a
    // re-read shows what the store holds).
    bool openCursor(std::string_view source, int kind);
    // Writes a pending new row and closes; closing a closed cursor does nothing.
    void closeCursor();
    // Starts a new, empty row in the open table, writing a row still pending first; false,
    // with no row started, when that pending row could not be written.
    bool addNew();
    // Sets a column of the pending new row; false for an unknown column, or when no new
    // row is pending.
    bool writeField(std::string_view column, std::string_view value);
    // Writes the pending new row now; true when it was written or none was pending.
    bool commitNew();
    // Drops the pending new row unwritten.
    void cancelNew();

    // The column of the current row as text ("" at the end or when not open): INTEGER as
    // decimal digits, REAL with 8 decimals, BLOB as "[BLOB]", NULL as "".
    std::string readField(std::string_view column);
    bool moveFirst();
    bool moveNext();
    long recordCount();
    bool atEnd();

    // Whether sj holds a snapshot of this code on this date (including a pending new
    // row). Leaves the cursor as it is.
    bool hasSnapshot(std::string_view code, std::string_view date);

    // What the open store's file is read through ("" when not open): its path, or the URI
    // of an unchanging file. Hand it to readRows on another thread.
    const std::string& readSource() const { return file_; }

    // The rows of one of the program's read sources (a table as a table cursor reads it, or
    // the search statement) into a table of the given GBK columns, the first read under
    // keyName. It reads file (a readSource()) through a read-only connection of its own and
    // touches no store object, so any thread may run it while the store is in use: WAL lets
    // the reader and the writer work side by side, and the one statement is one consistent
    // picture. Nothing, with the cause, when file is "" (no store open) or the source is
    // refused; nothing and no cause when cancel was set meanwhile.
    static RowsRead readRows(const std::string& file, std::string_view source, int kind,
                             const std::vector<std::string>& columns, std::string_view keyName,
                             const std::atomic<bool>* cancel = nullptr);

    // The cause of the most recent failed open or statement on this store: SQLite's result
    // code and message, or the store's reason for refusing it. Kept until the next failure;
    // code 0 when nothing has failed yet. Read it in the sequence that failed.
    const SqlError& lastError() const { return lastError_; }

  private:
    struct Connection;
    struct Cursor;
    struct LockWait;

    // The connection's busy handler: SQLite's own waiting, bounded by the LockWait.
    static int waitForLock(void* wait, int attempts);

    static std::unique_ptr<Connection> openConnection(const std::string& file, Access access,
                                                      SqlError& error);
    // open's work once the file's name is as SQLite takes it.
    bool openFile(const std::string& file, Access access);
    bool commitPending();
    bool loadRows();
    bool openTable(std::string_view name);
    bool runStatement(std::string_view statement);

    std::unique_ptr<Connection> connection_;
    std::unique_ptr<Cursor> cursor_;
    const std::unique_ptr<LockWait> lockWait_;
    // What the connection was opened with: the path, or the URI of an unchanging file.
    std::string file_;
    bool bound_ = false;
    SqlError lastError_;
};

}  // namespace quovella
