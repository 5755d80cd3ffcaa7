#pragma once
// The program's logging categories, for why a store operation or a quote request failed
// (the cause that comes back with its result). Only warnings
// and worse show unless the logging rules enable more, e.g.
// QT_LOGGING_RULES="quovella.*.debug=true".
#include <QLoggingCategory>

namespace quovella {

Q_DECLARE_LOGGING_CATEGORY(storeLog)   // "quovella.store"
Q_DECLARE_LOGGING_CATEGORY(quotesLog)  // "quovella.quotes"

}  // namespace quovella
