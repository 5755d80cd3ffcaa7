#pragma once
// The records-list insertion sort replayed from key ranks in O(n log n). While every pair
// of keys compares the same way under the list's tests as under plain <, == and >, the
// inserted keys stay in key order, so where a row lands depends only on how many keys
// before it are less than and equal to its own.
#include <optional>
#include <string_view>
#include <vector>

namespace quovella {

// Each row's key as a rank: equal keys share one, ranks follow key order from 0.
struct KeyRanks {
    std::vector<int> ofRow;
    int distinct = 0;
};

// Byte-wise order, GBK code bytes as unsigned.
KeyRanks textKeyRanks(const std::vector<std::string_view>& keys);

// None when the tolerance could blur the order: two values that differ by 2e-7 or less
// without being equal, or a value that is not finite.
std::optional<KeyRanks> separatedValueRanks(const std::vector<double>& values);

// The row indexes in the order the list's insertion leaves them.
std::vector<int> rankedInsertionOrder(const KeyRanks& ranks);

}  // namespace quovella
