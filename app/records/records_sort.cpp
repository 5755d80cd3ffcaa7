#include "app/records/records_sort.h"

#include <algorithm>

#include "records/records_order.h"
#include "ui/list_view.h"

namespace quovella {

bool applyRecordsOrder(ListView& list, const std::vector<int>& order,
                       TextTable::RowIndex* permuted) {
    if (order.size() != static_cast<std::size_t>(list.rowCount())) return false;
    const int selected = list.selectedRow();
    const int mark = selected >= 0 ? uniqueItemValue(list.table(), selected) : 0;
    // The index was copied before the mark could be set: the mark goes on after the move,
    // on the row the selected one became.
    const bool moved =
        (permuted != nullptr && list.takeRowIndex(*permuted)) || list.permuteRows(order);
    if (selected < 0) return true;
    int row = selected;
    if (moved)
        row = static_cast<int>(std::find(order.begin(), order.end(), selected) - order.begin());
    list.setItemValue(row, mark);
    list.selectRow(row);
    list.scrollToRow(row);
    return true;
}

}  // namespace quovella
