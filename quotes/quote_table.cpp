#include "quotes/quote_table.h"

#include <utility>

namespace quovella {
namespace {

bool inside(int index, int count) {
    return index >= 1 && index <= count;
}

}  // namespace

QuoteTable::QuoteTable(int rowCount) : rowCount_(rowCount > 0 ? rowCount : 0) {}

const std::string& QuoteTable::cell(int row, int column) const {
    static const std::string empty;
    if (!inside(row, rowCount()) || !inside(column, quoteCellCount)) return empty;
    const auto r = static_cast<std::size_t>(row - 1);
    const auto c = static_cast<std::size_t>(column - 1);
    return r < rows_.size() && c < rows_[r].size() ? rows_[r][c] : empty;
}

void QuoteTable::setCell(int row, int column, std::string text) {
    if (!inside(row, rowCount()) || !inside(column, quoteCellCount)) return;
    const auto r = static_cast<std::size_t>(row - 1);
    const auto c = static_cast<std::size_t>(column - 1);
    const bool grows = r >= rows_.size() || c >= rows_[r].size();
    // An empty text past the stored cells changes nothing a reader can see.
    if (grows && text.empty()) return;
    if (r >= rows_.size()) rows_.resize(r + 1);
    if (c >= rows_[r].size()) rows_[r].resize(c + 1);
    rows_[r][c] = std::move(text);
}

}  // namespace quovella
