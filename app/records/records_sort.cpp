#include "app/records/records_sort.h"

#include "records/records_order.h"
#include "ui/list_view.h"

namespace quovella {

bool applyRecordsOrder(ListView& list, const std::vector<int>& order) {
    if (order.size() != static_cast<std::size_t>(list.rowCount())) return false;
    const int selected = list.selectedRow();
    const bool marked = selected >= 0;
    const int mark = marked ? uniqueItemValue(list.table(), selected) : 0;
    if (marked) list.setItemValue(selected, mark);
    list.permuteRows(order);
    if (!marked) return true;
    for (int r = 0; r < list.rowCount(); ++r) {
        if (list.itemValue(r) != mark) continue;
        list.selectRow(r);
        list.scrollToRow(r);
        break;
    }
    return true;
}

}  // namespace quovella
