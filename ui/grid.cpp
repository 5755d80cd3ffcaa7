#include "ui/grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

#include "common/gbk.h"
#include "ui/key_state.h"
#include "ui/qt_colour.h"

namespace quovella {

namespace {

Qt::Alignment horizontalAlignment(int code) {
    if (code == kAlignCentre) return Qt::AlignHCenter;
    if (code == kAlignRight) return Qt::AlignRight;
    return Qt::AlignLeft;
}

// Paints every cell itself: fixed cells in the header style, data cells in the grid's
// colours (never the theme's text colour on the grid's own background), the grid lines on
// the right and bottom edge of each cell.
class GridDelegate : public QStyledItemDelegate {
  public:
    explicit GridDelegate(const Grid& grid) : QStyledItemDelegate(nullptr), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const GridCell* cell = grid_.model().cell(index.row(), index.column());
        if (cell == nullptr) return;
        const QRect r = option.rect;
        const QPalette& palette = option.palette;
        const bool fixed = grid_.isFixedCell(index.row(), index.column());
        const bool selected = !fixed && grid_.isSelected(index.row(), index.column());
        QColor text = qColour(kTextOnOwnBackground);
        if (fixed) {
            painter->fillRect(r, palette.button());
            painter->setPen(palette.color(QPalette::Light));
            painter->drawLine(r.topLeft(), r.topRight());
            painter->drawLine(r.topLeft(), r.bottomLeft());
            text = palette.color(QPalette::ButtonText);
        } else if (selected) {
            painter->fillRect(r, palette.highlight());
            text = palette.color(QPalette::HighlightedText);
        } else {
            painter->fillRect(r, qColour(grid_.backgroundColour()));
        }
        if (cell->textColour > 0 && !selected) text = qColour(cell->textColour);
        painter->setPen(fixed ? palette.color(QPalette::Dark) : qColour(grid_.gridLineColour()));
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (cell->text.empty()) return;
        painter->setPen(text);
        painter->drawText(r.adjusted(3, 0, -3, 0),
                          static_cast<int>(horizontalAlignment(cell->alignment) | Qt::AlignVCenter |
                                           Qt::TextSingleLine),
                          index.data(Qt::DisplayRole).toString());
    }

  private:
    const Grid& grid_;
};

}  // namespace

// The table view underneath: mouse and keys go to the grid's own selection rules.
class GridView : public QTableView {
  public:
    GridView(Grid& grid) : QTableView(&grid), grid_(grid) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const QModelIndex at = indexAt(event->position().toPoint());
        if (at.isValid()) grid_.pressCell(at.row(), at.column());
        setFocus(Qt::MouseFocusReason);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const QPoint at = viewport()->mapTo(&grid_, event->position().toPoint());
        emit grid_.leftButtonReleased(at.x(), at.y(), keyStateOf(event->modifiers()));
    }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid() && (index.flags() & Qt::ItemIsEditable)) edit(index);
        const QPoint at = viewport()->mapTo(&grid_, event->position().toPoint());
        emit grid_.doubleClicked(at.x(), at.y(), keyStateOf(event->modifiers()));
    }
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Up:
                grid_.moveCurrent(-1, 0);
                break;
            case Qt::Key_Down:
                grid_.moveCurrent(1, 0);
                break;
            case Qt::Key_Left:
                grid_.moveCurrent(0, -1);
                break;
            case Qt::Key_Right:
                grid_.moveCurrent(0, 1);
                break;
            default:
                event->ignore();
                return;
        }
    }

  private:
    Grid& grid_;
};

Grid::Grid(QWidget* parent) : QWidget(parent) {
    auto* view = new GridView(*this);
    view_ = view;
    view_->setModel(&model_);
    view_->setItemDelegate(new GridDelegate(*this));
    view_->itemDelegate()->setParent(view_);
    view_->horizontalHeader()->hide();
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->horizontalHeader()->setMinimumSectionSize(1);
    view_->setShowGrid(false);
    view_->setSelectionMode(QAbstractItemView::NoSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->setCornerButtonEnabled(false);
    setDefaultRowHeight(defaultRowHeight_);
    setDefaultColumnWidth(defaultColumnWidth_);
    setFocusProxy(view_);
}

void Grid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_->setGeometry(rect());
}

int Grid::rowCount() const {
    return model_.rowCount();
}
int Grid::columnCount() const {
    return model_.columnCount();
}

void Grid::setRowCount(int rows) {
    model_.resize(rows, model_.columnCount());
    forgetVanishedCells();
}

void Grid::setColumnCount(int columns) {
    model_.resize(model_.rowCount(), columns);
    forgetVanishedCells();
}

void Grid::forgetVanishedCells() {
    if (!model_.contains(currentRow_, currentColumn_)) currentRow_ = currentColumn_ = -1;
    selectRange(selection_);
}

void Grid::setFixedRowCount(int rows) {
    fixedRows_ = std::max(rows, 0);
    model_.setFixed(fixedRows_, fixedColumns_);
}

void Grid::setFixedColumnCount(int columns) {
    fixedColumns_ = std::max(columns, 0);
    model_.setFixed(fixedRows_, fixedColumns_);
}

void Grid::setDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(height, 1);
    QHeaderView* rows = view_->verticalHeader();
    rows->setDefaultSectionSize(defaultRowHeight_);
    for (int r = 0; r < rowCount(); ++r) rows->resizeSection(r, defaultRowHeight_);
}

void Grid::setDefaultColumnWidth(int width) {
    defaultColumnWidth_ = std::max(width, 0);
    QHeaderView* columns = view_->horizontalHeader();
    columns->setDefaultSectionSize(defaultColumnWidth_);
    for (int c = 0; c < columnCount(); ++c) columns->resizeSection(c, defaultColumnWidth_);
}

void Grid::setColumnWidth(int column, int width) {
    if (column < 0 || column >= columnCount()) return;
    view_->setColumnWidth(column, std::max(width, 0));
}

int Grid::rowHeight(int row) const {
    return view_->rowHeight(row);
}
int Grid::columnWidth(int column) const {
    return view_->columnWidth(column);
}

std::optional<std::string> Grid::cellText(int row, int column) const {
    const GridCell* cell = model_.cell(row, column);
    if (cell == nullptr) return std::nullopt;
    return cell->text;
}

void Grid::setCellText(int row, int column, std::string_view text) {
    model_.setText(row, column, std::string(text));
}

int Grid::appendRow() {
    return model_.appendRow();
}

void Grid::deleteRow(int row) {
    model_.removeRow(row);
    forgetVanishedCells();
}

void Grid::clearCells() {
    model_.clearTexts();
}

void Grid::setTextColour(GridRange range, ColourWord colour) {
    model_.setTextColour(range, colour);
}

void Grid::setAlignment(GridRange range, int alignment) {
    model_.setAlignment(range, alignment);
}

ColourWord Grid::cellTextColour(int row, int column) const {
    const GridCell* cell = model_.cell(row, column);
    return cell == nullptr ? 0 : cell->textColour;
}

int Grid::cellAlignment(int row, int column) const {
    const GridCell* cell = model_.cell(row, column);
    return cell == nullptr ? 0 : cell->alignment;
}

void Grid::setGridLineColour(ColourWord colour) {
    gridLineColour_ = colour;
    repaintCells();
}

void Grid::setBackgroundColour(ColourWord colour) {
    backgroundColour_ = colour;
    repaintCells();
}

void Grid::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    model_.setEditable(!readOnly);
}

void Grid::setCurrentCell(int row, int column) {
    if (!model_.contains(row, column)) {
        currentRow_ = currentColumn_ = -1;
    } else {
        currentRow_ = row;
        currentColumn_ = column;
        view_->setCurrentIndex(model_.index(row, column));
    }
    repaintCells();
}

void Grid::selectRange(GridRange range) {
    const GridRange cut{std::max(range.firstRow, 0), std::max(range.firstColumn, 0),
                        std::min(range.lastRow, rowCount() - 1),
                        std::min(range.lastColumn, columnCount() - 1)};
    const bool empty = range.firstRow < 0 || range.firstColumn < 0 || cut.firstRow > cut.lastRow ||
                       cut.firstColumn > cut.lastColumn;
    selection_ = empty ? GridRange{} : cut;
    repaintCells();
}

QRect Grid::cellRect(int row, int column) const {
    const QRect inView = view_->visualRect(model_.index(row, column));
    return QRect(view_->viewport()->mapTo(this, inView.topLeft()), inView.size());
}

QWidget* Grid::inputWidget() const {
    return view_->viewport();
}

bool Grid::isSelected(int row, int column) const {
    return selection_.firstRow >= 0 && row >= selection_.firstRow && row <= selection_.lastRow &&
           column >= selection_.firstColumn && column <= selection_.lastColumn;
}

bool Grid::isFixedCell(int row, int column) const {
    return model_.isFixed(row, column);
}

void Grid::pressCell(int row, int column) {
    // Fixed cells are not selectable.
    if (isFixedCell(row, column)) return;
    const bool moved = row != currentRow_ || column != currentColumn_;
    setCurrentCell(row, column);
    selectRange(wholeRow_ ? GridRange{row, fixedColumns_, row, columnCount() - 1}
                          : GridRange{row, column, row, column});
    if (moved) emit currentCellChanged(row, column);
}

void Grid::moveCurrent(int rowStep, int columnStep) {
    if (currentRow_ < 0) return;
    // With no data row or column there is nowhere to move to.
    if (rowCount() - 1 < fixedRows_ || columnCount() - 1 < fixedColumns_) return;
    const int row = std::clamp(currentRow_ + rowStep, fixedRows_, rowCount() - 1);
    const int column = std::clamp(currentColumn_ + columnStep, fixedColumns_, columnCount() - 1);
    if (row < 0 || column < 0) return;
    pressCell(row, column);
    view_->scrollTo(model_.index(row, column));
}

void Grid::repaintCells() {
    view_->viewport()->update();
}

void writeHeaderRow(Grid& grid, std::span<const GridHeaderColumn> columns) {
    int column = 0;
    for (const GridHeaderColumn& header : columns) {
        grid.setCellText(0, column, gbk(header.caption));
        grid.setColumnWidth(column, header.width);
        ++column;
    }
}

}  // namespace quovella
