#pragma once
// The quotes of the whole watch list between refreshes: one row per watched code, 37 text
// cells per row. Cell 1 holds the row's quote content, cells 2..37 its fields 1..36.
// Rows and cells are numbered from 1. Only written cells take memory, so a table sized for a
// long list costs little until its quotes arrive.
#include <string>
#include <vector>

namespace quovella {

inline constexpr int quoteCellCount = 37;

class QuoteTable {
  public:
    QuoteTable() = default;
    // rowCount rows of empty cells (a negative count gives none); allocates nothing.
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
    int rowCount_ = 0;
    // Up to the last row written, each up to its last non-empty cell written; cells beyond
    // read as empty.
    std::vector<std::vector<std::string>> rows_;
    int quoteCount_ = 0;
};

}  // namespace quovella
