#pragma once
// Answers a colour lookup without walking the rule lists. Within one list a later rule
// overrides an earlier one with the same key, and a later list overrides an earlier one,
// so the walk's answer is the last rule with the cell's key in the last list that has one.
// Each list therefore keeps, per key, the colours of its last rule with that key.
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "ui/colour_rule.h"

namespace quovella {

class ColourRuleIndex {
  public:
    void add(RuleList list, const ColourRule& rule);
    void clear();
    // The colours of the deciding rule for the cell, or nothing when no rule matches it.
    std::optional<CellColours> find(int column, int row) const;

  private:
    using LastRuleByKey = std::unordered_map<std::uint64_t, CellColours>;
    std::array<LastRuleByKey, kRuleListCount> lastRules_;
};

}  // namespace quovella
