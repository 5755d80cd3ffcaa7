#include "holdings/holdings_store.h"

#include "holdings/revaluation_pass.h"
#include "records/columns.h"
#include "records/statements.h"

namespace quovella {

bool insertHolding(RecordStore& store, const HoldingRow& row) {
    if (!store.openCursor("cy", RecordStore::kTable) || !store.addNew()) return false;
    const std::vector<std::string>& columns = holdingColumns();
    const std::string_view values[] = {row.date,  row.code, row.name, row.shares, row.price,
                                       row.total, "",       "",       ""};
    bool written = true;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        written = store.writeField(columns[i + 1], values[i]) && written;
    }
    if (!written) {
        store.cancelNew();  // a store lacking a column gets no half-written row
        return false;
    }
    // Written now rather than by whichever sequence opens the cursor next: that may be a
    // worker's update on another thread.
    return store.commitNew();
}

std::vector<std::vector<std::string>> readAllHoldings(RecordStore& store) {
    std::vector<std::vector<std::string>> rows;
    if (!store.openCursor("cy", RecordStore::kTable)) return rows;
    const std::vector<std::string>& columns = holdingColumns();
    const long count = store.recordCount();
    rows.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (long i = 0; i < count; ++i) {
        std::vector<std::string>& row = rows.emplace_back();
        row.reserve(columns.size());
        for (const std::string& column : columns) row.push_back(store.readField(column));
        store.moveNext();
    }
    store.closeCursor();
    return rows;
}

bool writeRevaluation(RecordStore& store, std::string_view id, std::string_view price,
                      std::string_view amount, std::string_view rate, std::string_view time) {
    const bool done = store.openCursor(updateHoldingStatement(price, amount, rate, time, id),
                                       RecordStore::kStatement);
    store.closeCursor();
    return done;
}

bool writeRevaluations(RecordStore& store, const std::vector<RevaluedHolding>& results) {
    if (results.empty()) return true;
    bool done = store.openCursor("begin", RecordStore::kStatement);
    for (const RevaluedHolding& r : results) {
        if (!done) break;
        done = writeRevaluation(store, r.id, r.price, r.amount, r.rate, r.storedTime);
    }
    if (done) done = store.openCursor("commit", RecordStore::kStatement);
    // A transaction left open would keep every later write of the store uncommitted. Only
    // one still open is rolled back (some errors end it in SQLite already), so lastError
    // keeps the failure's cause.
    if (!done && store.inTransaction()) store.openCursor("rollback", RecordStore::kStatement);
    store.closeCursor();
    return done;
}

}  // namespace quovella
