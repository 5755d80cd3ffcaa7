#include "ui/list_model.h"

#include "ui/qt_text.h"

namespace quovella {

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!contains(index.row(), index.column())) return {};
    if (role == Qt::DisplayRole) return toQt(text(index.row(), index.column()));
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
    for (auto& row : rows_) row.cells.resize(columns_.size());
    endResetModel();
}

int ListModel::appendRow() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_.push_back(ListRow{std::vector<std::string>(columns_.size()), 0});
    endInsertRows();
    return row;
}

void ListModel::appendRows(std::vector<std::vector<std::string>> rows) {
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.reserve(rows_.size() + rows.size());
    for (auto& cells : rows) {
        cells.resize(columns_.size());
        rows_.push_back(ListRow{std::move(cells), 0});
    }
    endInsertRows();
}

void ListModel::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void ListModel::removeAll() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void ListModel::replaceRows(std::vector<ListRow> rows) {
    for (auto& row : rows) row.cells.resize(columns_.size());
    if (rows.size() != rows_.size()) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        return;
    }
    rows_ = std::move(rows);
    if (rows_.empty() || columns_.empty()) return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

bool ListModel::contains(int row, int column) const {
    return row >= 0 && column >= 0 && row < rowCount() && column < columnCount();
}

const std::string& ListModel::text(int row, int column) const {
    static const std::string empty;
    if (!contains(row, column)) return empty;
    return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

void ListModel::setText(int row, int column, std::string_view text) {
    if (!contains(row, column)) return;
    rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

int ListModel::itemValue(int row) const {
    if (row < 0 || row >= rowCount()) return 0;
    return rows_[static_cast<std::size_t>(row)].itemValue;
}

void ListModel::setItemValue(int row, int value) {
    if (row < 0 || row >= rowCount()) return;
    rows_[static_cast<std::size_t>(row)].itemValue = value;
}

int ListModel::findInFirstColumn(std::string_view text) const {
    if (columns_.empty()) return -1;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].cells[0] == text) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace quovella
