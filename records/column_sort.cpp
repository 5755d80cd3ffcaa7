#include "records/column_sort.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

#include "common/gbk.h"
#include "common/numbers.h"
#include "records/column_sort_ranks.h"

namespace quovella {

namespace {

// Columns 0 to 11 of the records list; "时间" and "盈亏金额" after them are not sorted.
constexpr SortKind kColumnKinds[] = {
    SortKind::number,  // 序号
    SortKind::text,    // 日期
    SortKind::text,    // 股票代码
    SortKind::text,    // 股票名称
    SortKind::number,  // 今开盘价
    SortKind::number,  // 昨收盘价
    SortKind::number,  // 当前价格
    SortKind::number,  // 最高价
    SortKind::number,  // 最低价
    SortKind::text,    // 成交量
    SortKind::text,    // 成交金额
    SortKind::text,    // 涨跌%
};

// Row indexes in insertion order with cheap insertion anywhere: blocks of about sqrt(n)
// entries and the position each block starts at. Inserting one row at a time at a
// position found by bisection would make a flat array quadratic.
class BlockedSequence {
  public:
    explicit BlockedSequence(std::size_t expected)
        : blockSize_(std::max<std::size_t>(
              64, static_cast<std::size_t>(std::sqrt(static_cast<double>(expected))))) {}

    std::size_t size() const { return size_; }

    int at(std::size_t pos) const {
        const std::size_t b = blockOf(pos);
        return blocks_[b][pos - starts_[b]];
    }

    void insert(std::size_t pos, int value) {
        if (blocks_.empty()) {
            blocks_.emplace_back().reserve(2 * blockSize_ + 1);
            starts_.push_back(0);
        }
        const std::size_t b = blockOf(pos);
        std::vector<int>& block = blocks_[b];
        block.insert(block.begin() + static_cast<std::ptrdiff_t>(pos - starts_[b]), value);
        for (std::size_t later = b + 1; later < starts_.size(); ++later) ++starts_[later];
        ++size_;
        if (block.size() > 2 * blockSize_) split(b);
    }

    std::vector<int> flatten() const {
        std::vector<int> out;
        out.reserve(size_);
        for (const std::vector<int>& block : blocks_)
            out.insert(out.end(), block.begin(), block.end());
        return out;
    }

  private:
    // The last block starting at or before pos; a position at the very end falls into the
    // last block.
    std::size_t blockOf(std::size_t pos) const {
        const auto after = std::upper_bound(starts_.begin(), starts_.end(), pos);
        return static_cast<std::size_t>(after - starts_.begin()) - 1;
    }

    void split(std::size_t b) {
        std::vector<int>& full = blocks_[b];
        const auto half = full.begin() + static_cast<std::ptrdiff_t>(full.size() / 2);
        std::vector<int> upper;
        upper.reserve(2 * blockSize_ + 1);
        upper.assign(half, full.end());
        full.erase(half, full.end());
        const std::size_t upperStart = starts_[b] + full.size();
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(upper));
        starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(b) + 1, upperStart);
    }

    std::size_t blockSize_;
    std::size_t size_ = 0;
    std::vector<std::vector<int>> blocks_;
    std::vector<std::size_t> starts_;
};

// The bisection between the first and the last key, both known to differ from the new
// key: 1-based lo and hi, ending at the first equal key it meets or at two neighbours.
// compare(k) is the new key against key k: 0 equal, below 0 less, above 0 greater.
template <typename Compare>
std::size_t bisect(std::size_t m, const Compare& compare) {
    std::size_t lo = 1;
    std::size_t hi = m;
    while (lo < hi - 1) {
        const std::size_t mid = (lo + hi) / 2;
        const int c = compare(mid);
        if (c == 0) return mid + 1;
        if (c < 0) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return lo + 1;
}

// Insertion position (1-based) of value v among the m keys inserted so far; valueAt(k) is
// key k's value, 1-based.
template <typename ValueAt>
std::size_t numberPosition(double v, std::size_t m, const ValueAt& valueAt) {
    if (m == 0) return 1;
    if (v >= valueAt(m) - kSortTolerance) return m + 1;
    if (v <= valueAt(1) + kSortTolerance) return 1;
    return bisect(m, [&](std::size_t k) {
        const double d = v - valueAt(k);
        if (std::fabs(d) <= kSortTolerance) return 0;
        return d < -kSortTolerance ? -1 : 1;
    });
}

// The direct simulation, for values the tolerance blurs: they can leave value order.
std::vector<int> blockedNumberOrder(const std::vector<double>& values) {
    BlockedSequence order(values.size());
    const auto valueAt = [&](std::size_t k) {
        return values[static_cast<std::size_t>(order.at(k - 1))];
    };
    for (std::size_t i = 0; i < values.size(); ++i) {
        order.insert(numberPosition(values[i], order.size(), valueAt) - 1, static_cast<int>(i));
    }
    return order.flatten();
}

std::vector<int> insertionOrder(const std::vector<std::string_view>& keys, SortKind kind) {
    if (kind == SortKind::text) return rankedInsertionOrder(textKeyRanks(keys));
    std::vector<double> values;
    values.reserve(keys.size());
    for (std::string_view key : keys) values.push_back(leadingDouble(key));
    if (const std::optional<KeyRanks> ranks = separatedValueRanks(values)) {
        return rankedInsertionOrder(*ranks);
    }
    return blockedNumberOrder(values);
}

// An item value no row but `except` carries: the smallest one from 0 up.
int uniqueItemValue(const std::vector<SortableRow>& rows, std::size_t except) {
    std::vector<int> taken;
    taken.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i != except && rows[i].itemValue >= 0) taken.push_back(rows[i].itemValue);
    }
    std::sort(taken.begin(), taken.end());
    taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
    int candidate = 0;
    for (const int value : taken) {
        if (value != candidate) break;
        ++candidate;
    }
    return candidate;
}

}  // namespace

std::optional<SortKind> recordsColumnSortKind(int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= std::size(kColumnKinds)) {
        return std::nullopt;
    }
    return kColumnKinds[column];
}

std::string_view sortKeyText(std::string_view cell) {
    // A space byte is never the tail of a double-byte character, and a text starts with a
    // whole character: without a space or A1 byte at either end there is nothing to trim.
    const auto blankEdge = [](char c) { return c == ' ' || c == '\xA1'; };
    if (!cell.empty() && !blankEdge(cell.front()) && !blankEdge(cell.back())) return cell;
    // Walk whole characters so that the tail of a double-byte character is never taken
    // for a blank.
    std::size_t begin = cell.size();
    std::size_t end = 0;
    for (std::size_t i = 0; i < cell.size();) {
        const bool wide = isGbkLeadByte(static_cast<unsigned char>(cell[i])) && i + 1 < cell.size();
        const std::size_t width = wide ? 2 : 1;
        const bool blank = cell[i] == ' ' || (wide && cell[i] == '\xA1' && cell[i + 1] == '\xA1');
        if (!blank) {
            begin = std::min(begin, i);
            end = i + width;
        }
        i += width;
    }
    return begin < end ? cell.substr(begin, end - begin) : std::string_view{};
}

std::vector<int> sortedRowOrder(const std::vector<std::string_view>& cells, SortKind kind,
                                SortDirection direction) {
    std::vector<std::string_view> keys;
    keys.reserve(cells.size());
    for (std::string_view cell : cells) keys.push_back(sortKeyText(cell));
    std::vector<int> order = insertionOrder(keys, kind);
    if (direction == SortDirection::reverse) std::reverse(order.begin(), order.end());
    return order;
}

int sortRows(std::vector<SortableRow>& rows, int column, SortKind kind, SortDirection direction,
             int selectedRow) {
    const bool marked = selectedRow >= 0 && static_cast<std::size_t>(selectedRow) < rows.size();
    int mark = 0;
    if (marked) {
        mark = uniqueItemValue(rows, static_cast<std::size_t>(selectedRow));
        rows[static_cast<std::size_t>(selectedRow)].itemValue = mark;
    }
    std::vector<std::string_view> cells;
    cells.reserve(rows.size());
    for (const SortableRow& row : rows) {
        const bool has = column >= 0 && static_cast<std::size_t>(column) < row.cells.size();
        cells.push_back(has ? std::string_view(row.cells[static_cast<std::size_t>(column)])
                            : std::string_view{});
    }
    const std::vector<int> order = sortedRowOrder(cells, kind, direction);
    std::vector<SortableRow> sorted;
    sorted.reserve(rows.size());
    for (const int from : order) sorted.push_back(std::move(rows[static_cast<std::size_t>(from)]));
    rows = std::move(sorted);
    if (!marked) return -1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].itemValue == mark) return static_cast<int>(r);
    }
    return -1;
}

}  // namespace quovella
