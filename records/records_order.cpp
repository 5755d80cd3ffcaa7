#include "records/records_order.h"

#include <string_view>

namespace quovella {

std::vector<int> sortedKeyOrder(const TextTable& rows, int column, SortKind kind,
                                SortDirection direction) {
    std::vector<std::string_view> views(static_cast<std::size_t>(rows.rowCount()));
    for (std::size_t r = 0; r < views.size(); ++r)
        views[r] = rows.text(static_cast<int>(r), column);
    return sortedRowOrder(views, kind, direction);
}

std::vector<int> landingRows(const std::vector<int>& order) {
    std::vector<int> landsAt(order.size(), -1);
    for (std::size_t r = 0; r < order.size(); ++r) {
        const int from = order[r];
        if (from >= 0 && static_cast<std::size_t>(from) < order.size()) {
            landsAt[static_cast<std::size_t>(from)] = static_cast<int>(r);
        }
    }
    return landsAt;
}

int uniqueItemValue(const TextTable& rows, int except) {
    // With n rows the answer is at most n: only values 0..n can be taken in the way.
    const auto n = static_cast<std::size_t>(rows.rowCount());
    std::vector<bool> taken(n + 1, false);
    for (int r = 0; r < rows.rowCount(); ++r) {
        const int value = rows.itemValue(r);
        if (r != except && value >= 0 && static_cast<std::size_t>(value) <= n) {
            taken[static_cast<std::size_t>(value)] = true;
        }
    }
    std::size_t candidate = 0;
    while (candidate < n && taken[candidate]) ++candidate;
    return static_cast<int>(candidate);
}

}  // namespace quovella
