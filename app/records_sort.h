#pragma once
// The column sort of the records list in two halves: the sorted column's texts copied out
// on the GUI thread and put in order on a worker, then the order applied to the list as
// one permutation of its rows, with the selected row selected again and scrolled into view.
#include <string>
#include <vector>

#include "common/text_table.h"
#include "records/column_sort.h"

namespace quovella {

class ListView;

std::vector<std::string> columnTexts(const TextTable& rows, int column);

// The new order of the rows (entry r: the row that lands at new row r). Any thread.
std::vector<int> sortedKeyOrder(const std::vector<std::string>& keys, SortKind kind,
                                SortDirection direction);

// The selected row first gets an item value no other row carries, the rows move as one
// permutation (item values with them), and the row carrying that value is selected and
// scrolled into view. An order that does not fit the list changes nothing.
void applyRecordsOrder(ListView& list, const std::vector<int>& order);

// An item value no row but `except` carries: the smallest one from 0 up.
int uniqueItemValue(const TextTable& rows, int except);

}  // namespace quovella
