#include "ui/colour_rule_index.h"

namespace quovella {
namespace {

// Rows beyond this (and negative ones) go to the map: an array for them would be mostly
// empty.
constexpr int kRowsInArray = 1 << 24;

bool isRowList(RuleList list) {
    return list == RuleList::EarlyRow || list == RuleList::LateRow;
}

bool inArray(int row) {
    return row >= 0 && row < kRowsInArray;
}

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

void ColourRuleIndex::add(RuleList list, int column, int row, CellColours colours) {
    const auto i = static_cast<std::size_t>(list);
    if (isRowList(list) && inArray(row)) {
        ByRow& byRow = byRow_[i];
        const auto at = static_cast<std::size_t>(row);
        if (at >= byRow.colours.size()) {
            byRow.colours.resize(at + 1);
            byRow.set.resize(at + 1);
        }
        byRow.colours[at] = colours;
        byRow.set[at] = true;
        return;
    }
    lastRules_[i].insert_or_assign(keyOf(list, column, row), colours);
}

void ColourRuleIndex::clear() {
    for (auto& byKey : lastRules_) byKey.clear();
    for (ByRow& byRow : byRow_) byRow = ByRow{};
}

std::optional<CellColours> ColourRuleIndex::find(int column, int row) const {
    for (std::size_t i = kRuleListCount; i-- > 0;) {
        const auto list = static_cast<RuleList>(i);
        if (isRowList(list) && inArray(row)) {
            const ByRow& byRow = byRow_[i];
            const auto at = static_cast<std::size_t>(row);
            if (at < byRow.set.size() && byRow.set[at]) return byRow.colours[at];
        }
        const LastRuleByKey& byKey = lastRules_[i];
        if (byKey.empty()) continue;
        const auto found = byKey.find(keyOf(list, column, row));
        if (found != byKey.end()) return found->second;
    }
    return std::nullopt;
}

}  // namespace quovella
