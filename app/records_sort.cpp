#include "app/records_sort.h"

#include "ui/list_view.h"

namespace quovella {

namespace {

std::vector<SortableRow> readRows(const ListView& list) {
    const int columns = list.columnCount();
    std::vector<SortableRow> rows(static_cast<std::size_t>(list.rowCount()));
    for (int r = 0; r < list.rowCount(); ++r) {
        SortableRow& row = rows[static_cast<std::size_t>(r)];
        row.cells.reserve(static_cast<std::size_t>(columns));
        for (int c = 0; c < columns; ++c) row.cells.push_back(list.itemText(r, c));
        row.itemValue = list.itemValue(r);
    }
    return rows;
}

std::vector<ListRow> listRows(std::vector<SortableRow> rows) {
    std::vector<ListRow> out;
    out.reserve(rows.size());
    for (SortableRow& row : rows) out.push_back(ListRow{std::move(row.cells), row.itemValue});
    return out;
}

}  // namespace

bool sortRecordsList(ListView& list, int column, SortDirection direction) {
    const std::optional<SortKind> kind = recordsColumnSortKind(column);
    if (!kind || list.rowCount() == 0) return false;
    std::vector<SortableRow> rows = readRows(list);
    const int selected = sortRows(rows, column, *kind, direction, list.selectedRow());
    list.replaceAllRows(listRows(std::move(rows)));
    if (selected >= 0) {
        list.selectRow(selected);
        list.scrollToRow(selected);
    }
    return true;
}

}  // namespace quovella
