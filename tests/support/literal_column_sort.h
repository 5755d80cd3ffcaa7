#pragma once
// The records-list column sort as the list has always done it, written out step by step: the
// reference the O(n log n) sort is compared with, by the tests and by the fuzz target.
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "records/column_sort.h"

namespace quovella::testing {

// The sort as the list has always done it: parallel arrays of keys, row indexes and item
// values, each row inserted at a 1-based position found by the end checks and bisection.
struct LiteralSort {
    std::vector<std::string> keys;
    std::vector<int> rowIndexes;
    std::vector<int> itemValues;

    static double value(const std::string& key) { return leadingDouble(key); }

    std::size_t position(const std::string& key, SortKind kind) const {
        const std::size_t m = keys.size();
        if (m == 0) return 1;
        std::size_t lo = 1;
        std::size_t hi = m;
        if (kind == SortKind::number) {
            const double v = value(key);
            if (v >= value(keys[m - 1]) - 1e-7) return m + 1;
            if (v <= value(keys[0]) + 1e-7) return 1;
            while (lo < hi - 1) {
                const std::size_t mid = (lo + hi) / 2;
                if (std::fabs(v - value(keys[mid - 1])) <= 1e-7) {
                    lo = mid;
                    break;
                }
                if (v - value(keys[mid - 1]) < -1e-7) {
                    hi = mid;
                } else {
                    lo = mid;
                }
            }
        } else {
            if (key.compare(keys[m - 1]) >= 0) return m + 1;
            if (key.compare(keys[0]) <= 0) return 1;
            while (lo < hi - 1) {
                const std::size_t mid = (lo + hi) / 2;
                const int c = key.compare(keys[mid - 1]);
                if (c == 0) {
                    lo = mid;
                    break;
                }
                if (c < 0) {
                    hi = mid;
                } else {
                    lo = mid;
                }
            }
        }
        return lo + 1;
    }

    std::vector<int> run(const std::vector<std::string>& cells, SortKind kind,
                         SortDirection direction) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string key(sortKeyText(cells[i]));
            const auto at = static_cast<std::ptrdiff_t>(position(key, kind) - 1);
            keys.insert(keys.begin() + at, key);
            rowIndexes.insert(rowIndexes.begin() + at, static_cast<int>(i));
            itemValues.insert(itemValues.begin() + at, 0);
        }
        const std::size_t n = cells.size();
        std::vector<int> landed(n);
        for (std::size_t r = 0; r < n; ++r) {
            landed[r] = direction == SortDirection::forward ? rowIndexes[r] : rowIndexes[n - 1 - r];
        }
        return landed;
    }
};

}  // namespace quovella::testing
