#include "app/failure_log.h"

#include "quotes/quote_exchange.h"
#include "records/record_store.h"
#include "ui/logging.h"

namespace quovella {

void logStoreFailure(const RecordStore& store, const char* what) {
    const SqlError error = store.lastError();
    qCInfo(storeLog, "%s failed: SQLite %d, %s", what, error.code, error.message.c_str());
}

void logQuoteFailure(const QuoteExchange& exchange, const char* what) {
    const TransferError error = exchange.lastError();
    qCInfo(quotesLog, "%s failed: libcurl %d, HTTP status %ld", what, error.curlCode,
           error.httpStatus);
}

}  // namespace quovella
