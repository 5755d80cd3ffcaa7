#pragma once
// The column sort applied to the records list: rows read out in one go, sorted, written
// back in one go, and the selected row selected again and scrolled into view.
#include "records/column_sort.h"

namespace quovella {

class ListView;

// False when nothing was done: an empty list or a column that is not sorted.
bool sortRecordsList(ListView& list, int column, SortDirection direction);

}  // namespace quovella
