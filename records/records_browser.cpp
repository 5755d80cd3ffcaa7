#include "records/records_browser.h"

#include "common/numbers.h"
#include "records/columns.h"
#include "records/record_store.h"
#include "records/statements.h"

namespace quovella {

SnapshotRow readSnapshotRow(RecordStore& store, std::string_view keyName) {
    const std::vector<std::string>& columns = snapshotColumns();
    SnapshotRow row;
    row.reserve(columns.size());
    row.push_back(store.readField(keyName));
    for (std::size_t i = 1; i < columns.size(); ++i) row.push_back(store.readField(columns[i]));
    return row;
}

std::vector<SnapshotRow> readAllSnapshots(RecordStore& store) {
    std::vector<SnapshotRow> rows;
    store.openCursor("sj", RecordStore::kTable);
    const long count = store.recordCount();
    rows.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        rows.push_back(readSnapshotRow(store));
        store.moveNext();
    }
    store.closeCursor();
    return rows;
}

std::optional<std::vector<SnapshotRow>> searchSnapshots(RecordStore& store, std::string_view text) {
    if (!store.openCursor(searchStatement(text), RecordStore::kStatement)) return std::nullopt;
    std::vector<SnapshotRow> rows;
    store.moveFirst();
    while (!store.atEnd()) {
        rows.push_back(readSnapshotRow(store, "ID"));
        store.moveNext();
    }
    store.closeCursor();
    return rows;
}

RowsRead readSnapshotTable(const std::string& file, const std::atomic<bool>* cancel) {
    return RecordStore::readRows(file, "sj", RecordStore::kTable, snapshotColumns(), "id", cancel);
}

RowsRead searchSnapshotTable(const std::string& file, std::string_view text,
                             const std::atomic<bool>* cancel) {
    return RecordStore::readRows(file, searchStatement(text), RecordStore::kStatement,
                                 snapshotColumns(), "ID", cancel);
}

bool deleteSnapshot(RecordStore& store, std::string_view id) {
    const bool deleted = store.openCursor(deleteStatement(id), RecordStore::kStatement);
    store.closeCursor();
    return deleted;
}

std::optional<RowColour> rowColour(std::string_view changeText) {
    const std::int64_t change = leadingWhole(changeText);
    if (change == 0) return std::nullopt;
    return RowColour{kRowText, change < 0 ? kFallingRowBackground : kRisingRowBackground};
}

}  // namespace quovella
