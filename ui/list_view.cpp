#include "ui/list_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>

#include "ui/key_state.h"
#include "ui/qt_colour.h"

namespace quovella {

namespace {

// Paints each cell in the colours the custom-draw conversation gives it; selected rows
// keep the selection colours.
class ListDelegate : public QStyledItemDelegate {
  public:
    explicit ListDelegate(ListView& list) : QStyledItemDelegate(nullptr), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem styled = option;
        initStyleOption(&styled, index);
        styled.state &= ~QStyle::State_HasFocus;
        const PaintColours colours = list_.coloursFor(index.row(), index.column());
        if (!(styled.state & QStyle::State_Selected)) {
            if (colours.background > 0) {
                painter->fillRect(option.rect, qColour(colours.background));
            }
            if (colours.text > 0) {
                styled.palette.setColor(QPalette::Text, qColour(colours.text));
            } else if (colours.background > 0) {
                // Our own background takes our text colour too, not the theme's.
                styled.palette.setColor(QPalette::Text, qColour(kTextOnOwnBackground));
            }
        }
        QStyledItemDelegate::paint(painter, styled, index);
    }

  private:
    ListView& list_;
};

}  // namespace

// The table view underneath: the native list's mouse events and one custom-draw
// conversation per paint event.
class ListTable : public QTableView {
  public:
    explicit ListTable(ListView& list) : QTableView(&list), list_(list) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        list_.beginPaint();
        QTableView::paintEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            emit list_.leftButtonPressed(listX(event), listY(event),
                                         keyStateOf(event->modifiers()));
        }
        // A press below the last row clears the selection.
        if (!indexAt(event->position().toPoint()).isValid()) {
            clearSelection();
            setCurrentIndex({});
        }
        QTableView::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTableView::mouseReleaseEvent(event);
        if (event->button() != Qt::LeftButton) return;
        emit list_.leftButtonReleased(listX(event), listY(event), keyStateOf(event->modifiers()));
        emit list_.rowClicked();
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        QTableView::mouseDoubleClickEvent(event);
        if (event->button() != Qt::LeftButton) return;
        emit list_.doubleClicked(listX(event), listY(event), keyStateOf(event->modifiers()));
    }

  private:
    int listX(QMouseEvent* event) const { return listPoint(event).x(); }
    int listY(QMouseEvent* event) const { return listPoint(event).y(); }
    QPoint listPoint(QMouseEvent* event) const {
        return viewport()->mapTo(&list_, event->position().toPoint());
    }

    ListView& list_;
};

ListView::ListView(std::vector<ListColumn> columns, const ParentWindow* parent,
                   QWidget* parentWidget)
    : QWidget(parentWidget), draw_(reinterpret_cast<WindowHandle>(this), parent) {
    auto* table = new ListTable(*this);
    view_ = table;
    model_.setColumns(columns);
    view_->setModel(&model_);
    view_->setItemDelegate(new ListDelegate(*this));
    view_->itemDelegate()->setParent(view_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setShowGrid(false);
    view_->setWordWrap(false);
    view_->setSortingEnabled(false);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = view_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* header = view_->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        header->resizeSection(static_cast<int>(c), columns[c].width);
    }
    connect(header, &QHeaderView::sectionClicked, this, &ListView::columnHeaderClicked);
    setFocusProxy(view_);
}

void ListView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    view_->setGeometry(rect());
}

void ListView::appendRows(std::vector<std::vector<std::string>> rows) {
    model_.appendRows(std::move(rows));
}

void ListView::setItemText(int row, int column, std::string_view text) {
    model_.setText(row, column, text);
}

int ListView::findRow(std::string_view firstColumnText) const {
    return model_.findInFirstColumn(firstColumnText);
}

int ListView::selectedRow() const {
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return -1;
    int first = rows.front().row();
    for (const QModelIndex& index : rows) first = std::min(first, index.row());
    return first;
}

// Selecting and bringing a row into view move the table vertically only: the columns stay
// scrolled where the user left them.
void ListView::selectRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    QScrollBar* across = view_->horizontalScrollBar();
    const int left = across->value();
    view_->selectRow(row);
    across->setValue(left);
}

void ListView::scrollToRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    QScrollBar* across = view_->horizontalScrollBar();
    const int left = across->value();
    view_->scrollTo(model_.index(row, 0));
    across->setValue(left);
}

int ListView::columnWidth(int column) const {
    return view_->columnWidth(column);
}

std::string ListView::columnCaption(int column) const {
    if (column < 0 || column >= columnCount()) return {};
    return model_.columns()[static_cast<std::size_t>(column)].caption;
}

WindowHandle ListView::handle() const {
    return reinterpret_cast<WindowHandle>(this);
}

void ListView::setTextColour(ColourWord colour) {
    PaintColours own = draw_.ownColours();
    if (own.text == colour) return;
    own.text = colour;
    draw_.setOwnColours(own);
    repaintRows();
}

void ListView::setTextBackground(ColourWord colour) {
    PaintColours own = draw_.ownColours();
    if (own.background == colour) return;
    own.background = colour;
    draw_.setOwnColours(own);
    repaintRows();
}

QWidget* ListView::inputWidget() const {
    return view_->viewport();
}

QRect ListView::rowRect(int row) const {
    return view_->visualRect(model_.index(row, 0));
}

QWidget* ListView::headerWidget() const {
    return view_->horizontalHeader();
}

void ListView::repaintRows() {
    view_->viewport()->update();
}

}  // namespace quovella
