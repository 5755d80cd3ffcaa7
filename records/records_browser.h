#pragma once
// The data side of the snapshot list: reading sj into rows of texts, search, delete, and
// the colour rule of a row. The list view itself lives in the window.
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/colour.h"
#include "common/text_table.h"
#include "records/record_store.h"

namespace quovella {

// The texts of list columns 0..13: id, 日期, 股票代码, ... 涨跌, 时间, 盈亏金额.
using SnapshotRow = std::vector<std::string>;

// The fourteen columns of the cursor's current row, the key read under keyName.
SnapshotRow readSnapshotRow(RecordStore& store, std::string_view keyName = "id");

// Full fill: openCursor("sj", table), recordCount rows of readField ... moveNext,
// closeCursor; one sequence on the cursor. Empty when the store is not open.
std::vector<SnapshotRow> readAllSnapshots(RecordStore& store);

// Search: the search statement for text; moveFirst, then rows until atEnd (key read as
// "ID"), closeCursor. Nothing when the statement fails (the list then stays as it is).
std::optional<std::vector<SnapshotRow>> searchSnapshots(RecordStore& store, std::string_view text);

// The same two reads through a connection of their own to file (a store's readSource()),
// for any thread, straight into a compact table of the list's fourteen columns.
RowsRead readSnapshotTable(const std::string& file, const std::atomic<bool>* cancel = nullptr);
RowsRead searchSnapshotTable(const std::string& file, std::string_view text,
                             const std::atomic<bool>* cancel = nullptr);

// Delete: "delete from sj where id=" + id. True also when no row had that id.
bool deleteSnapshot(RecordStore& store, std::string_view id);

struct RowColour {
    ColourWord text = 0;  // 0: not set, the list keeps its default text colour
    ColourWord background = 0;
};

// The colour of a row by its change text (column 11), read as a whole number: below zero
// kFallingRowBackground, above zero kRisingRowBackground, text kRowText; zero gets no
// colour.
std::optional<RowColour> rowColour(std::string_view changeText);

}  // namespace quovella
