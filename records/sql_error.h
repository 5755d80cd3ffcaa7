#pragma once
// Why a store operation failed, kept for the log: SQLite's result code and message, or the
// store's own reason when it refused to run something.
#include <string>

namespace quovella {

struct SqlError {
    int code = 0;  // SQLite's result code; 0 (SQLITE_OK) when nothing failed
    std::string message;
};

}  // namespace quovella
