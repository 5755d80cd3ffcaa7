#include "holdings/holdings_store.h"

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

}  // namespace quovella
