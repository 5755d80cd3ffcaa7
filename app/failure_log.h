#pragma once
// Where the window meets a failure the user sees only as its quiet outcome (an empty grid
// row, a list left as it was, a message box), the cause goes to the log: the store's
// categories are silent unless the logging rules ask for them.
namespace quovella {

class QuoteExchange;
class RecordStore;

// what: the operation, e.g. "search".
void logStoreFailure(const RecordStore& store, const char* what);
void logQuoteFailure(const QuoteExchange& exchange, const char* what);

}  // namespace quovella
