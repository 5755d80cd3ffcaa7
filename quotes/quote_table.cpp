#include "quotes/quote_table.h"

#include <utility>

namespace quovella {
namespace {

bool inside(int index, int count) {
    return index >= 1 && index <= count;
}

}  // namespace

QuoteTable::QuoteTable(int rowCount)
    : rowCount_(rowCount > 0 ? rowCount : 0),
      cells_(static_cast<std::size_t>(rowCount_) * quoteCellCount) {}

std::size_t QuoteTable::indexOf(int row, int column) const {
    return static_cast<std::size_t>(row - 1) * quoteCellCount +
           static_cast<std::size_t>(column - 1);
}

const std::string& QuoteTable::cell(int row, int column) const {
    static const std::string empty;
    if (!inside(row, rowCount()) || !inside(column, quoteCellCount)) return empty;
    return cells_[indexOf(row, column)];
}

void QuoteTable::setCell(int row, int column, std::string text) {
    if (!inside(row, rowCount()) || !inside(column, quoteCellCount)) return;
    cells_[indexOf(row, column)] = std::move(text);
}

}  // namespace quovella
