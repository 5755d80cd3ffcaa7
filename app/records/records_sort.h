#pragma once
// The column sort's list half: an order made on the worker (records/records_order.h) applied
// to the list as one permutation of its rows, with the selected row selected again and
// scrolled into view.
#include <vector>

#include "common/text_table.h"

namespace quovella {

class ListView;

// The selected row first gets an item value no other row carries, the rows move as one
// permutation (item values with them), and the row carrying that value is selected and
// scrolled into view. An order that does not fit the list changes nothing, and answers false.
// `permuted`, when given, is the list's row index copied before the sort and permuted by
// `order` since: the rows then move in one swap, unless the list changed meanwhile.
bool applyRecordsOrder(ListView& list, const std::vector<int>& order,
                       TextTable::RowIndex* permuted = nullptr);

}  // namespace quovella
