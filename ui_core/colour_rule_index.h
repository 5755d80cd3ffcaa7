#pragma once
// Answers a colour lookup without walking the rule lists. Within one list a later rule
// overrides an earlier one with the same key, and a later list overrides an earlier one,
// so the walk's answer is the last rule with the cell's key in the last list that has one.
// Each list therefore keeps, per key, the colours of its last rule with that key: the row
// lists in an array by row of colour-pair numbers (a list of a million rows is coloured row
// by row, in a handful of colours), every other key in a hash map.
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "ui_core/colour_rule.h"
#include "ui_core/colour_rule_list.h"

namespace quovella {

class ColourRuleIndex {
  public:
    void add(RuleList list, int column, int row, CellColours colours);
    void clear();
    void reserveRows(RuleList list, int rows);
    // As the lists' removeRow and moveRows: the answers follow the rows. False, and nothing
    // changed, where rows would cross the edge of the row arrays (a negative row taken out,
    // rows moved past the arrays' reach): the index is then built again from the lists.
    bool removeRow(int row);
    bool moveRows(const std::vector<int>& landsAt);
    // The colours of the deciding rule for the cell, or nothing when no rule matches it.
    std::optional<CellColours> find(int column, int row) const;
    std::size_t memoryBytes() const;

  private:
    // Entry 0 is "no rule"; entry n is palette pair n - 1.
    struct ByRow {
        std::vector<std::uint16_t> pairs;
        ColourPalette palette;
    };
    using LastRuleByKey = std::unordered_map<std::uint64_t, CellColours>;
    // Every key with a row gets the row `moved` gives, or loses its entry for none.
    template <typename Moved>
    void moveKeyedRows(const Moved& moved);
    std::array<LastRuleByKey, kRuleListCount> lastRules_;
    std::array<ByRow, kRuleListCount> byRow_;
};

}  // namespace quovella
