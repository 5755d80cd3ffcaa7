#include "records/store_schema.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "records/schema_sql.h"

namespace quovella {
namespace {

bool createTables(const std::string& path) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    bool ok = rc == SQLITE_OK;
    if (ok) {
        const std::string script = std::string("begin;\n") + kStoreSchemaSql + "\ncommit;";
        ok = sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    return sqlite3_close(db) == SQLITE_OK && ok;
}

}  // namespace

MakeStoreResult makeEmptyStore(std::string_view path) {
    const std::string file(path);
    // O_EXCL claims the name atomically, so an existing store is never overwritten; SQLite
    // takes an empty file as an empty database.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? MakeStoreResult::alreadyExists : MakeStoreResult::failed;
    ::close(fd);
    if (createTables(file)) return MakeStoreResult::created;
    std::remove(file.c_str());
    return MakeStoreResult::failed;
}

}  // namespace quovella
