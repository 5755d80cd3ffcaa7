#pragma once
// The quotes of the whole watch list between refreshes: one row per watched code, 37 text
// cells per row. Cell 1 holds the row's quote content, cells 2..37 its fields 1..36.
// Rows and cells are numbered from 1.
#include <string>
#include <vector>

namespace quovella {

inline constexpr int quoteCellCount = 37;

class QuoteTable {
  public:
    QuoteTable() = default;
    // rowCount rows of empty cells (a negative count gives none).
    explicit QuoteTable(int rowCount);

    int rowCount() const { return rowCount_; }

    // An empty text for a row or cell outside the table.
    const std::string& cell(int row, int column) const;
    // Writes outside the table are ignored: the table never grows.
    void setCell(int row, int column, std::string text);

    // The quote count n of the last reply written into the table (0 after creation). A reply
    // with more entries than watched codes makes it larger than rowCount(); only rows up to
    // rowCount() have a code.
    int quoteCount() const { return quoteCount_; }
    void setQuoteCount(int count) { quoteCount_ = count; }

  private:
    std::size_t indexOf(int row, int column) const;

    int rowCount_ = 0;
    std::vector<std::string> cells_;  // row after row, quoteCellCount cells each
    int quoteCount_ = 0;
};

}  // namespace quovella
