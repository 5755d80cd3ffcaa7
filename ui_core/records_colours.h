#pragma once
// The records list's colours, built where the rows are: every row whose change text has a
// whole part other than 0 gets its row rule, added with the hook's own operation on a hook
// bound to no list. A result handed back is taken over by the attached hook in one step.
#include <vector>

#include "common/text_table.h"
#include "ui_core/cell_colour_hook.h"

namespace quovella {

// Row r's change text is rows.text(r, changeColumn). Any thread.
CellColourHook recordsColourRules(const TextTable& rows, int changeColumn);

}  // namespace quovella
