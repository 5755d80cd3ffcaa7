#include "ui/grid_model.h"

#include <algorithm>

#include "ui/qt_text.h"

namespace quovella {

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    const GridCell* c = cell(index.row(), index.column());
    if (c == nullptr) return {};
    if (role == Qt::DisplayRole) return toQtShown(c->text);
    if (role == Qt::EditRole) return toQt(c->text);
    return {};
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !contains(index.row(), index.column())) return false;
    setText(index.row(), index.column(), fromQt(value.toString()));
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled;
    if (editable_ && !isFixed(index.row(), index.column())) result |= Qt::ItemIsEditable;
    return result;
}

void GridModel::resize(int rows, int columns) {
    // Inserts and removes rather than a reset, so the view keeps the sizes it has.
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    if (columns < columns_) {
        beginRemoveColumns({}, columns, columns_ - 1);
        for (auto& row : cells_) row.resize(static_cast<std::size_t>(columns));
        columns_ = columns;
        endRemoveColumns();
    } else if (columns > columns_) {
        beginInsertColumns({}, columns_, columns - 1);
        for (auto& row : cells_) row.resize(static_cast<std::size_t>(columns));
        columns_ = columns;
        endInsertColumns();
    }
    const int existing = rowCount();
    if (rows < existing) {
        beginRemoveRows({}, rows, existing - 1);
        cells_.resize(static_cast<std::size_t>(rows));
        endRemoveRows();
    } else if (rows > existing) {
        beginInsertRows({}, existing, rows - 1);
        cells_.resize(static_cast<std::size_t>(rows),
                      std::vector<GridCell>(static_cast<std::size_t>(columns_)));
        endInsertRows();
    }
}

bool GridModel::contains(int row, int column) const {
    return row >= 0 && column >= 0 && row < rowCount() && column < columns_;
}

const GridCell* GridModel::cell(int row, int column) const {
    if (!contains(row, column)) return nullptr;
    return &cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void GridModel::setText(int row, int column, std::string text) {
    if (!contains(row, column)) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].text = std::move(text);
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

int GridModel::appendRow() {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    cells_.emplace_back(static_cast<std::size_t>(columns_));
    endInsertRows();
    return row;
}

void GridModel::removeRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    cells_.erase(cells_.begin() + row);
    endRemoveRows();
}

void GridModel::clearTexts() {
    for (auto& row : cells_) {
        for (auto& c : row) c.text.clear();
    }
    if (!cells_.empty() && columns_ > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columns_ - 1), {Qt::DisplayRole});
    }
}

template <typename Change>
void GridModel::changeRange(GridRange range, int role, Change change) {
    const int firstRow = std::max(range.firstRow, 0);
    const int firstColumn = std::max(range.firstColumn, 0);
    const int lastRow = std::min(range.lastRow, rowCount() - 1);
    const int lastColumn = std::min(range.lastColumn, columns_ - 1);
    if (firstRow > lastRow || firstColumn > lastColumn) return;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c) {
            change(cells_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        }
    }
    emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn), {role});
}

void GridModel::setTextColour(GridRange range, ColourWord colour) {
    changeRange(range, Qt::ForegroundRole, [colour](GridCell& c) { c.textColour = colour; });
}

void GridModel::setAlignment(GridRange range, int alignment) {
    changeRange(range, Qt::TextAlignmentRole,
                [alignment](GridCell& c) { c.alignment = alignment; });
}

void GridModel::setFixed(int rows, int columns) {
    fixedRows_ = std::max(rows, 0);
    fixedColumns_ = std::max(columns, 0);
    if (rowCount() > 0 && columns_ > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columns_ - 1));
    }
}

bool GridModel::isFixed(int row, int column) const {
    return row < fixedRows_ || column < fixedColumns_;
}

}  // namespace quovella
