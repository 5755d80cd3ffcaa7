#pragma once
// One colour rule of the list colouring hook, the six lists rules are kept in, and the
// pair of colours a lookup answers with.
#include <cstddef>
#include <string>

#include "ui_core/custom_draw.h"

namespace quovella {

struct ColourRule {
    int column = 0;  // sub-item index from 0; used by cell and column rules
    int row = 0;     // item index from 0; used by row and cell rules
    ColourWord background = 0;
    ColourWord textColour = 0;
    std::string text;  // match text of a text-matched rule, empty otherwise
};

// The lists in the order a lookup walks them: a match in a later list overrides one in an
// earlier list.
enum class RuleList : std::size_t {
    EarlyRow,     // addRowRuleIfMatch, addStripedRowRule
    CellMatch,    // addCellRuleIfMatch
    CellCompare,  // addCellRuleIfCompare
    Column,       // addColumnRule
    LateRow,      // addRowRule
    LateCell,     // addCellRule
};
constexpr std::size_t kRuleListCount = 6;

// A colour word of 0 or below is "not set" and is never written into a paint record.
struct CellColours {
    ColourWord textColour = 0;
    ColourWord background = 0;
    friend bool operator==(const CellColours&, const CellColours&) = default;
};

constexpr bool isColourSet(ColourWord colour) {
    return colour > 0;
}

}  // namespace quovella
