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
// Threads: every operation takes the store lock. A caller that runs a sequence (open ...
// read ... close, or open ... addNew ... writeField) holds lock() for the whole sequence so
// no other thread's sequence interleaves on the one cursor. The lock is recursive. Never
// hold it while processing GUI events: an event handler on the same thread would re-enter
// the sequence, and a worker waiting for the lock would stall.
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
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

    // The rows of one of the program's read sources (a table as a table cursor reads it, or
    // the search statement) into a table of the given GBK columns, the first read under
    // keyName. It reads through a read-only connection of its own to the store's file and
    // takes neither the store lock nor the cursor, so a worker thread may run it while the
    // store is in use: WAL lets the reader and the writer work side by side, and the one
    // statement is one consistent picture. Nothing when the store is not open, the source
    // is refused, or cancel was set meanwhile.
    std::optional<TextTable> readRows(std::string_view source, int kind,
                                      const std::vector<std::string>& columns,
                                      std::string_view keyName,
                                      const std::atomic<bool>* cancel = nullptr) const;

    // The cause of the most recent failed open or statement (readRows included): SQLite's
    // result code and message, or the store's reason for refusing it. Kept until the next
    // failure; code 0 when nothing has failed yet.
    SqlError lastError() const;

    using Lock = std::unique_lock<std::recursive_mutex>;
    // Holds the store lock until the returned lock is released.
    Lock lock() const;

  private:
    struct Connection;
    struct Cursor;

    static std::unique_ptr<Connection> openConnection(const std::string& file, Access access,
                                                      SqlError& error);
    // open's work once the file's name is as SQLite takes it.
    bool openFile(const std::string& file, Access access);
    bool commitPending();
    bool loadRows();
    bool openTable(std::string_view name);
    bool runStatement(std::string_view statement);

    mutable std::recursive_mutex mutex_;  // created before the store opens
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<Cursor> cursor_;
    // What the connection was opened with: the path, or the URI of an unchanging file.
    std::string file_;
    bool bound_ = false;
    mutable SqlError lastError_;
};

}  // namespace quovella
