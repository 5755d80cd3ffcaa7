#include "ui/colour_rule_index.h"

namespace quovella {
namespace {

// Rows and columns are whole 32-bit values, negative ones included; both fit one key.
std::uint64_t keyOf(RuleList list, int column, int row) {
    const auto c = static_cast<std::uint64_t>(static_cast<std::uint32_t>(column));
    const auto r = static_cast<std::uint64_t>(static_cast<std::uint32_t>(row));
    switch (list) {
        case RuleList::EarlyRow:
        case RuleList::LateRow:
            return r;
        case RuleList::Column:
            return c;
        case RuleList::CellMatch:
        case RuleList::CellCompare:
        case RuleList::LateCell:
            break;
    }
    return (c << 32) | r;
}

}  // namespace

void ColourRuleIndex::add(RuleList list, const ColourRule& rule) {
    lastRules_[static_cast<std::size_t>(list)].insert_or_assign(
        keyOf(list, rule.column, rule.row), CellColours{rule.textColour, rule.background});
}

void ColourRuleIndex::clear() {
    for (auto& byKey : lastRules_) byKey.clear();
}

std::optional<CellColours> ColourRuleIndex::find(int column, int row) const {
    for (std::size_t i = kRuleListCount; i-- > 0;) {
        const LastRuleByKey& byKey = lastRules_[i];
        if (byKey.empty()) continue;
        const auto found = byKey.find(keyOf(static_cast<RuleList>(i), column, row));
        if (found != byKey.end()) return found->second;
    }
    return std::nullopt;
}

}  // namespace quovella
