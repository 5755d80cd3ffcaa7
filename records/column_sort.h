#pragma once
// The column sort of the records list over a plain table of GBK texts: the kind of each
// column, the sort key of a cell, and the order the rows take, with the list's own tie rules
// (a key equal to the current last goes after it, one equal to the current first before
// it, one equal to an inner key right after the equal key the bisection meets).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quovella {

enum class SortKind { number, text };
enum class SortDirection { forward, reverse };

// Numbers within this distance of each other are equal.
inline constexpr double kSortTolerance = 1e-7;

// The kind of a records-list column; none for "时间" and "盈亏金额" (12, 13) and for
// columns the list does not have.
std::optional<SortKind> recordsColumnSortKind(int column);

// The cell text without leading and trailing ASCII spaces and GBK ideographic spaces (A1A1).
std::string_view sortKeyText(std::string_view cell);

// The new order of the rows: entry r is the index of the row that lands at new row r.
std::vector<int> sortedRowOrder(const std::vector<std::string_view>& cells, SortKind kind,
                                SortDirection direction);

struct SortableRow {
    std::vector<std::string> cells;
    int itemValue = 0;
};

// Reorders the rows by the given column; the item values move with their rows. When
// selectedRow names a row, that row first gets an item value no other row carries; the
// result is the row that carries it afterwards (-1 when there is none).
int sortRows(std::vector<SortableRow>& rows, int column, SortKind kind, SortDirection direction,
             int selectedRow);

}  // namespace quovella
