#include "app/window/failure_log.h"

#include "ui/logging.h"

namespace quovella {

void logStoreFailure(const SqlError& error, const char* what) {
    qCInfo(storeLog, "%s failed: SQLite %d, %s", what, error.code, error.message.c_str());
}

void logQuoteFailure(const TransferError& error, const char* what) {
    qCInfo(quotesLog, "%s failed: libcurl %d, HTTP status %ld", what, error.curlCode,
           error.httpStatus);
}

void logStoreJobFailure(const std::string& cause, const char* what) {
    qCInfo(storeLog, "%s failed: %s", what, cause.c_str());
}

void logQuoteJobFailure(const std::string& cause, const char* what) {
    qCInfo(quotesLog, "%s failed: %s", what, cause.c_str());
}

}  // namespace quovella
