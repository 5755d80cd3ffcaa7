#pragma once
// The rows of a report-view list: GBK texts per column and one integer item value per row.
#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_table.h"

namespace quovella {

struct ListColumn {
    std::string caption;
    int width = 0;
};

struct ListRow {
    std::vector<std::string> cells;
    int itemValue = 0;
};

class ListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setColumns(std::vector<ListColumn> columns);
    const std::vector<ListColumn>& columns() const { return columns_; }

    int appendRow();
    // One insertion for the whole batch; each row is cut or padded to the column count.
    void appendRows(std::vector<std::vector<std::string>> rows);
    void appendRows(TextTable rows);
    void removeRow(int row);
    void removeAll();
    // Every row at once, each cut or padded to the column count. The same number of rows
    // is one change of all cells, so the view keeps its scroll position.
    void replaceRows(std::vector<ListRow> rows);
    // The same, taking the table over whole: a table built on another thread shows at once.
    void replaceRows(TextTable rows);
    // New row r is old row order[r], item values moving with their rows, as one change of
    // all cells. An order that is not a permutation of the rows changes nothing (false).
    bool permuteRows(const std::vector<int>& order);
    // The same with the order applied beforehand to a copy of the rows' index (see
    // TextTable::RowIndex): one swap. False, and nothing changes, when the rows changed since.
    bool takeRowIndex(TextTable::RowIndex& index);

    // A row or column that does not exist reads as empty and ignores writes.
    std::string_view text(int row, int column) const;
    void setText(int row, int column, std::string_view text);
    int itemValue(int row) const;
    void setItemValue(int row, int value);
    int findInFirstColumn(std::string_view text) const;
    const TextTable& table() const { return rows_; }

  private:
    bool contains(int row, int column) const;
    TextTable fitted(TextTable rows) const;
    void allCellsChanged();

    std::vector<ListColumn> columns_;
    TextTable rows_{0};
};

}  // namespace quovella
