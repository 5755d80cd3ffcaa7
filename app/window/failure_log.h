#pragma once
// Where the window meets a failure the user sees only as its quiet outcome (an empty grid
// row, a list left as it was, a message box), the cause that came back with the result goes
// to the log: the categories are silent unless the logging rules ask for them.
#include <string>

#include "quotes/quote_fetch.h"
#include "records/sql_error.h"

namespace quovella {

// what: the operation, e.g. "search".
void logStoreFailure(const SqlError& error, const char* what);
void logQuoteFailure(const TransferError& error, const char* what);
// A job that threw: what it threw.
void logStoreJobFailure(const std::string& cause, const char* what);
void logQuoteJobFailure(const std::string& cause, const char* what);

}  // namespace quovella
