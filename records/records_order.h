#pragma once
// The records list's column sort, the half that needs no list: the order its rows take by
// one column's keys, and a mark that tells one row apart while the rows move.
#include <vector>

#include "common/text_table.h"
#include "records/column_sort.h"

namespace quovella {

// The new order of the rows by the texts of `column` (entry r: the row that lands at new
// row r). Any thread.
std::vector<int> sortedKeyOrder(const TextTable& rows, int column, SortKind kind,
                                SortDirection direction);

// The inverse of an order: entry r is the new row old row r lands at. Any thread.
std::vector<int> landingRows(const std::vector<int>& order);

// An item value no row but `except` carries: the smallest one from 0 up.
int uniqueItemValue(const TextTable& rows, int except);

}  // namespace quovella
