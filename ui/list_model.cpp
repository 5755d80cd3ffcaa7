#include "ui/list_model.h"

#include "ui/qt_text.h"

namespace quovella {

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.rowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!contains(index.row(), index.column())) return {};
    if (role == Qt::DisplayRole) return toQtShown(text(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return toQt(columns_[static_cast<std::size_t>(section)].caption);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ListModel::setColumns(std::vector<ListColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    rows_ = fitted(std::move(rows_));
    endResetModel();
}

// Rows cut or padded to the column count, item values kept.
TextTable ListModel::fitted(TextTable rows) const {
    const auto count = static_cast<int>(columns_.size());
    if (rows.columnCount() == count) return rows;
    TextTable resized(count);
    resized.appendTable(std::move(rows));
    return resized;
}

int ListModel::appendRow() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.appendRow(std::span<const std::string_view>());
    endInsertRows();
    return row;
}

void ListModel::appendRows(std::vector<std::vector<std::string>> rows) {
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (const auto& cells : rows) rows_.appendRow(cells);
    endInsertRows();
}

void ListModel::appendRows(TextTable rows) {
    if (rows.rowCount() == 0) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + rows.rowCount() - 1);
    rows_.appendTable(std::move(rows));
    endInsertRows();
}

void ListModel::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    rows_.removeRow(row);
    endRemoveRows();
}

void ListModel::removeAll() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ListModel::replaceRows(std::vector<ListRow> rows) {
    TextTable table(static_cast<int>(columns_.size()));
    for (const auto& row : rows) table.appendRow(row.cells, row.itemValue);
    replaceRows(std::move(table));
}

void ListModel::replaceRows(TextTable rows) {
    rows = fitted(std::move(rows));
    if (rows.rowCount() != rowCount()) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        return;
    }
    rows_ = std::move(rows);
    allCellsChanged();
}

bool ListModel::permuteRows(const std::vector<int>& order) {
    if (!rows_.permute(order)) return false;
    allCellsChanged();
    return true;
}

bool ListModel::takeRowIndex(TextTable::RowIndex& index) {
    if (!rows_.takeRowIndex(index)) return false;
    allCellsChanged();
    return true;
}

// The row count stays, so the view keeps its scroll position.
void ListModel::allCellsChanged() {
    if (rowCount() == 0 || columnCount() == 0) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

bool ListModel::contains(int row, int column) const {
    return row >= 0 && column >= 0 && row < rowCount() && column < columnCount();
}

std::string_view ListModel::text(int row, int column) const {
    return rows_.text(row, column);
}

void ListModel::setText(int row, int column, std::string_view text) {
    if (!contains(row, column)) return;
    rows_.setText(row, column, text);
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

int ListModel::itemValue(int row) const {
    return rows_.itemValue(row);
}

void ListModel::setItemValue(int row, int value) {
    rows_.setItemValue(row, value);
}

int ListModel::findInFirstColumn(std::string_view text) const {
    if (columns_.empty()) return -1;
    return rows_.findRow(0, text);
}

}  // namespace quovella
