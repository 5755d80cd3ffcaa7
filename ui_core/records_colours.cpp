#include "ui_core/records_colours.h"

#include "records/records_browser.h"

namespace quovella {

CellColourHook recordsColourRules(const TextTable& rows, int changeColumn) {
    CellColourHook hook;
    hook.resetRules();
    // One pass over the rows, so a million rules take exactly their room and the table is
    // read once.
    struct Coloured {
        int row;
        std::string_view change;
        RowColour colour;
    };
    std::vector<Coloured> coloured;
    std::size_t textBytes = 0;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const std::string_view change = rows.text(row, changeColumn);
        const std::optional<RowColour> colour = rowColour(change);
        if (!colour) continue;
        coloured.push_back({row, change, *colour});
        textBytes += change.size();
    }
    hook.reserve(RuleList::EarlyRow, static_cast<int>(coloured.size()), textBytes);
    for (const auto& [row, change, colour] : coloured) {
        // The change text twice: the rule is always added.
        hook.addRowRuleIfMatch(row, colour.text, colour.background, change, change);
    }
    return hook;
}

}  // namespace quovella
