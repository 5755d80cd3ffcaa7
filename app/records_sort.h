#pragma once
// The column sort of the records list in two halves: the sorted column's texts copied out
// on the GUI thread (as column 0 of a compact table) and put in order on a worker, then the
// order applied to the list as one permutation of its rows, with the selected row selected
// again and scrolled into view.
#include <string>
#include <vector>

#include "common/text_table.h"
#include "records/column_sort.h"

namespace quovella {

class ListView;

// The new order of the rows by the texts of column 0 of `keys` (entry r: the row that
// lands at new row r). Any thread.
std::vector<int> sortedKeyOrder(const TextTable& keys, SortKind kind, SortDirection direction);

// The selected row first gets an item value no other row carries, the rows move as one
// permutation (item values with them), and the row carrying that value is selected and
// scrolled into view. An order that does not fit the list changes nothing, and answers false.
bool applyRecordsOrder(ListView& list, const std::vector<int>& order);

// An item value no row but `except` carries: the smallest one from 0 up.
int uniqueItemValue(const TextTable& rows, int except);

}  // namespace quovella
