#include "records/column_sort_ranks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "records/column_sort.h"

namespace quovella {

namespace {

constexpr std::size_t lowBit(std::size_t i) {
    return i & (~i + 1);
}

// How many keys inserted so far rank below a given rank (a Fenwick tree over ranks).
class RankCounts {
  public:
    explicit RankCounts(std::size_t ranks) : tree_(ranks + 1, 0) {}

    void add(std::size_t rank) {
        for (std::size_t i = rank + 1; i < tree_.size(); i += lowBit(i)) ++tree_[i];
    }

    std::size_t below(std::size_t rank) const {
        std::size_t sum = 0;
        for (std::size_t i = rank; i > 0; i -= lowBit(i)) sum += tree_[i];
        return sum;
    }

  private:
    std::vector<std::size_t> tree_;
};

// Where a new key lands among the `equal` keys equal to it (0 to equal) when `less` of the
// m keys are smaller. The keys are in order, so the end checks and the bisection's
// comparison with key mid only ask whether mid lies below, inside or above the equal run.
std::size_t landingInRun(std::size_t m, std::size_t less, std::size_t equal) {
    if (less + equal == m) return equal;    // not below the last key: appended
    if (less == 0 || equal == 0) return 0;  // not above the first, or between two keys
    std::size_t lo = 1;
    std::size_t hi = m;
    while (lo + 1 < hi) {
        const std::size_t mid = (lo + hi) / 2;
        // The first equal key met takes the new one right after it.
        if (mid > less && mid <= less + equal) return mid - less;
        // Selects rather than branches: the direction is a coin toss.
        const bool below = mid <= less;
        lo = below ? mid : lo;
        hi = below ? hi : mid;
    }
    return 0;  // Not reached: lo stays below the run and hi above it.
}

// The rows grouped by rank, in insertion order within each run of equal keys, with the
// offset each landed at among the equal keys inserted before it.
struct RunArrivals {
    std::vector<std::size_t> runStart;  // by rank, and the row count last
    std::vector<int> row;
    std::vector<int> landing;
};

std::vector<std::size_t> runStarts(const KeyRanks& ranks) {
    std::vector<std::size_t> starts(static_cast<std::size_t>(ranks.distinct) + 1, 0);
    for (const int rank : ranks.ofRow) ++starts[static_cast<std::size_t>(rank) + 1];
    for (std::size_t r = 1; r < starts.size(); ++r) starts[r] += starts[r - 1];
    return starts;
}

RunArrivals arrivals(const KeyRanks& ranks) {
    const std::size_t n = ranks.ofRow.size();
    RunArrivals out{runStarts(ranks), std::vector<int>(n), std::vector<int>(n)};
    RankCounts counts(static_cast<std::size_t>(ranks.distinct));
    std::vector<std::size_t> arrived(static_cast<std::size_t>(ranks.distinct), 0);
    for (std::size_t i = 0; i < n; ++i) {
        const auto rank = static_cast<std::size_t>(ranks.ofRow[i]);
        const std::size_t at = out.runStart[rank] + arrived[rank];
        out.row[at] = static_cast<int>(i);
        out.landing[at] = static_cast<int>(landingInRun(i, counts.below(rank), arrived[rank]));
        counts.add(rank);
        ++arrived[rank];
    }
    return out;
}

// The slots of one run still free, as an order-statistic tree (Fenwick, from 1).
class FreeSlots {
  public:
    void reset(std::size_t size) {
        tree_.resize(size + 1);
        for (std::size_t j = 1; j <= size; ++j) tree_[j] = static_cast<int>(lowBit(j));
    }

    // Takes the (k+1)-th free slot; its index from 0.
    std::size_t take(std::size_t k) {
        const std::size_t n = tree_.size() - 1;
        std::size_t pos = 0;
        int wanted = static_cast<int>(k) + 1;
        for (std::size_t step = std::bit_floor(n); step > 0; step /= 2) {
            const std::size_t next = pos + step;
            if (next <= n && tree_[next] < wanted) {
                pos = next;
                wanted -= tree_[next];
            }
        }
        for (std::size_t j = pos + 1; j <= n; j += lowBit(j)) --tree_[j];
        return pos;
    }

  private:
    std::vector<int> tree_;
};

// Sorts the entries (each naming its row) and numbers their distinct keys in order.
template <typename Entry, typename Less>
KeyRanks ranksOfSorted(std::vector<Entry>& entries, const Less& less) {
    std::sort(entries.begin(), entries.end(), less);
    KeyRanks ranks;
    ranks.ofRow.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || less(entries[i - 1], entries[i])) ++ranks.distinct;
        ranks.ofRow[entries[i].row] = ranks.distinct - 1;
    }
    return ranks;
}

// A text key's first 16 bytes as two big-endian words, so that integer order is byte
// order, and its length capped at 17: enough to order keys of up to 16 bytes without
// reading their text again, which at a million rows is mostly cache misses.
struct PackedKey {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::uint32_t length = 0;
    std::uint32_t row = 0;
};

PackedKey packedKey(std::string_view key, std::size_t row) {
    unsigned char bytes[16] = {};
    if (!key.empty()) std::memcpy(bytes, key.data(), std::min<std::size_t>(key.size(), 16));
    PackedKey packed;
    for (std::size_t i = 0; i < 8; ++i) {
        packed.head = packed.head << 8 | bytes[i];
        packed.tail = packed.tail << 8 | bytes[i + 8];
    }
    packed.length = static_cast<std::uint32_t>(std::min<std::size_t>(key.size(), 17));
    packed.row = static_cast<std::uint32_t>(row);
    return packed;
}

// Byte order of the keys behind two packed keys: a shorter key equal to another's start
// (zeros included) comes first.
bool packedLess(const PackedKey& a, const PackedKey& b, const std::vector<std::string_view>& keys) {
    if (a.head != b.head) return a.head < b.head;
    if (a.tail != b.tail) return a.tail < b.tail;
    if (a.length != b.length || a.length <= 16) return a.length < b.length;
    return keys[a.row].substr(16) < keys[b.row].substr(16);
}

struct ValueEntry {
    double value = 0;
    std::size_t row = 0;
};

// Distinct values more than twice the tolerance apart stay more than the tolerance apart
// through every rounded subtraction the list's tests make, so those tests then answer as
// plain <, == and > do; only closer values need the direct simulation.
bool toleranceBlurs(const std::vector<ValueEntry>& sorted) {
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const double gap = sorted[i].value - sorted[i - 1].value;
        if (gap > 0 && gap <= 2 * kSortTolerance) return true;
    }
    return false;
}

}  // namespace

KeyRanks textKeyRanks(const std::vector<std::string_view>& keys) {
    std::vector<PackedKey> entries;
    entries.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) entries.push_back(packedKey(keys[i], i));
    return ranksOfSorted(
        entries, [&](const PackedKey& a, const PackedKey& b) { return packedLess(a, b, keys); });
}

std::optional<KeyRanks> separatedValueRanks(const std::vector<double>& values) {
    // Infinities are not even equal to themselves under the tolerance test.
    const bool finite =
        std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    if (!finite) return std::nullopt;
    std::vector<ValueEntry> entries;
    entries.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) entries.push_back({values[i], i});
    const KeyRanks ranks = ranksOfSorted(
        entries, [](const ValueEntry& a, const ValueEntry& b) { return a.value < b.value; });
    if (toleranceBlurs(entries)) return std::nullopt;
    return ranks;
}

std::vector<int> rankedInsertionOrder(const KeyRanks& ranks) {
    const RunArrivals runs = arrivals(ranks);
    std::vector<int> order(ranks.ofRow.size());
    FreeSlots slots;
    for (std::size_t r = 0; r + 1 < runs.runStart.size(); ++r) {
        const std::size_t start = runs.runStart[r];
        slots.reset(runs.runStart[r + 1] - start);
        // Backwards, each row takes the free slot that the rows inserted after it leave at
        // its landing offset.
        for (std::size_t at = runs.runStart[r + 1]; at-- > start;) {
            const std::size_t slot = slots.take(static_cast<std::size_t>(runs.landing[at]));
            order[start + slot] = runs.row[at];
        }
    }
    return order;
}

}  // namespace quovella
