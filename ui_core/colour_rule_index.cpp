#include "ui_core/colour_rule_index.h"

#include <algorithm>

namespace quovella {
namespace {

// Rows beyond this (and negative ones) go to the map: an array for them would be mostly
// empty.
constexpr int kRowsInArray = 1 << 24;
// Colour-pair numbers an array entry can hold besides "no rule".
constexpr std::uint32_t kPairsInArray = 0xFFFF;

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
        const std::uint32_t pair = byRow.palette.numberOf(colours);
        // Past the numbers the array can hold, the row's rule goes to the map instead.
        if (pair < kPairsInArray) {
            const auto at = static_cast<std::size_t>(row);
            if (at >= byRow.pairs.size()) byRow.pairs.resize(at + 1);
            // The array is asked before the map, so an older map entry for the row is moot.
            byRow.pairs[at] = static_cast<std::uint16_t>(pair + 1);
            return;
        }
        const auto at = static_cast<std::size_t>(row);
        if (at < byRow.pairs.size()) byRow.pairs[at] = 0;
    }
    lastRules_[i].insert_or_assign(keyOf(list, column, row), colours);
}

void ColourRuleIndex::clear() {
    for (auto& byKey : lastRules_) byKey = LastRuleByKey{};
    for (ByRow& byRow : byRow_) byRow = ByRow{};
}

void ColourRuleIndex::reserveRows(RuleList list, int rows) {
    if (!isRowList(list) || !inArray(rows - 1)) return;
    byRow_[static_cast<std::size_t>(list)].pairs.reserve(static_cast<std::size_t>(rows));
}

template <typename Moved>
void ColourRuleIndex::moveKeyedRows(const Moved& moved) {
    for (std::size_t i = 0; i < kRuleListCount; ++i) {
        if (static_cast<RuleList>(i) == RuleList::Column || lastRules_[i].empty()) continue;
        LastRuleByKey kept;
        kept.reserve(lastRules_[i].size());
        for (const auto& [key, colours] : lastRules_[i]) {
            // The row is the key's low half in every list that has one.
            const std::optional<int> row = moved(static_cast<int>(static_cast<std::uint32_t>(key)));
            if (!row) continue;
            kept.emplace((key & ~std::uint64_t{0xFFFFFFFF}) | static_cast<std::uint32_t>(*row),
                         colours);
        }
        lastRules_[i] = std::move(kept);
    }
}

bool ColourRuleIndex::removeRow(int row) {
    if (row < 0) return false;
    for (ByRow& byRow : byRow_) {
        if (static_cast<std::size_t>(row) < byRow.pairs.size()) {
            byRow.pairs.erase(byRow.pairs.begin() + row);
        }
    }
    moveKeyedRows([row](int r) -> std::optional<int> {
        if (r == row) return std::nullopt;
        return r > row ? r - 1 : r;
    });
    return true;
}

bool ColourRuleIndex::moveRows(const std::vector<int>& landsAt) {
    if (landsAt.size() > static_cast<std::size_t>(kRowsInArray)) return false;
    const auto moved = [&landsAt](int r) {
        return r >= 0 && static_cast<std::size_t>(r) < landsAt.size()
                   ? landsAt[static_cast<std::size_t>(r)]
                   : r;
    };
    for (ByRow& byRow : byRow_) {
        if (byRow.pairs.empty()) continue;
        std::vector<std::uint16_t> pairs(std::max(byRow.pairs.size(), landsAt.size()), 0);
        for (std::size_t r = 0; r < byRow.pairs.size(); ++r) {
            pairs[static_cast<std::size_t>(moved(static_cast<int>(r)))] = byRow.pairs[r];
        }
        byRow.pairs = std::move(pairs);
    }
    moveKeyedRows([&moved](int r) { return std::optional<int>(moved(r)); });
    return true;
}

std::optional<CellColours> ColourRuleIndex::find(int column, int row) const {
    for (std::size_t i = kRuleListCount; i-- > 0;) {
        const auto list = static_cast<RuleList>(i);
        if (isRowList(list) && inArray(row)) {
            const ByRow& byRow = byRow_[i];
            const auto at = static_cast<std::size_t>(row);
            if (at < byRow.pairs.size() && byRow.pairs[at] != 0) {
                return byRow.palette[byRow.pairs[at] - 1U];
            }
        }
        const LastRuleByKey& byKey = lastRules_[i];
        if (byKey.empty()) continue;
        const auto found = byKey.find(keyOf(list, column, row));
        if (found != byKey.end()) return found->second;
    }
    return std::nullopt;
}

std::size_t ColourRuleIndex::memoryBytes() const {
    std::size_t bytes = 0;
    for (const ByRow& byRow : byRow_) bytes += byRow.pairs.capacity() * sizeof(std::uint16_t);
    for (const auto& byKey : lastRules_) bytes += byKey.size() * 48;
    return bytes;
}

}  // namespace quovella
