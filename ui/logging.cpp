#include "ui/logging.h"

namespace quovella {

Q_LOGGING_CATEGORY(storeLog, "quovella.store", QtWarningMsg)
Q_LOGGING_CATEGORY(quotesLog, "quovella.quotes", QtWarningMsg)

}  // namespace quovella
