#pragma once
// The list view unit in report view: captions and widths per column, left-aligned texts,
// full-row selection, and the list's side of custom draw against the parent window.
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "ui/list_custom_draw.h"
#include "ui/list_model.h"
#include "ui_core/custom_draw.h"

class QTableView;

namespace quovella {

class ListView : public QWidget, public ListColourTarget {
    Q_OBJECT
  public:
    // parent may be null: then nothing is asked and the list paints in its own colours.
    ListView(std::vector<ListColumn> columns, const ParentWindow* parent,
             QWidget* parentWidget = nullptr);

    int rowCount() const { return model_.rowCount(); }
    int columnCount() const { return model_.columnCount(); }
    int appendRow() { return model_.appendRow(); }
    void appendRows(std::vector<std::vector<std::string>> rows);
    void appendRows(TextTable rows) { model_.appendRows(std::move(rows)); }
    void setItemText(int row, int column, std::string_view text);
    // A row or column that does not exist reads as empty text.
    std::string itemText(int row, int column) const {
        return std::string(model_.text(row, column));
    }
    void removeRow(int row) { model_.removeRow(row); }
    void removeAllRows() { model_.removeAll(); }
    // Replaces every row with its texts and item value in one change.
    void replaceAllRows(std::vector<ListRow> rows) { model_.replaceRows(std::move(rows)); }
    // The same, taking the table over whole in one change: nothing is copied.
    void replaceAllRows(TextTable rows) { model_.replaceRows(std::move(rows)); }
    // New row r is old row order[r]; the scroll position stays. Anything but a permutation
    // of the rows changes nothing, and answers false.
    bool permuteRows(const std::vector<int>& order) { return model_.permuteRows(order); }
    // The same, with the order applied beforehand to table().rowIndex(), on any thread: one
    // swap. False, and nothing changes, when the rows changed after the index was copied.
    bool takeRowIndex(TextTable::RowIndex& index) { return model_.takeRowIndex(index); }
    // Every row's texts and item value, for reading.
    const TextTable& table() const { return model_.table(); }
    // -1 when none.
    int findRow(std::string_view firstColumnText) const;
    int selectedRow() const;
    // Both move the table vertically only; the horizontal position is kept.
    void selectRow(int row);
    void scrollToRow(int row);
    int itemValue(int row) const { return model_.itemValue(row); }
    void setItemValue(int row, int value) { model_.setItemValue(row, value); }
    int columnWidth(int column) const;
    std::string columnCaption(int column) const;

    // ListColourTarget: the list's own colours; changing either repaints.
    WindowHandle handle() const override;
    void setTextColour(ColourWord colour) override;
    void setTextBackground(ColourWord colour) override;
    ColourWord textColour() const { return draw_.ownColours().text; }
    ColourWord textBackground() const { return draw_.ownColours().background; }

    // The widget that receives clicks on rows, and a row's rectangle inside it.
    QWidget* inputWidget() const;
    QRect rowRect(int row) const;
    QWidget* headerWidget() const;

    // For the painter: one conversation per paint event.
    void beginPaint() { draw_.beginPaint(); }
    PaintColours coloursFor(int row, int column) { return draw_.coloursFor(row, column); }

  signals:
    void rowClicked();
    // x, y in list coordinates; keys: 1 Ctrl, 2 Shift, 4 Alt.
    void doubleClicked(int x, int y, int keys);
    void columnHeaderClicked(int column);
    void leftButtonPressed(int x, int y, int keys);
    void leftButtonReleased(int x, int y, int keys);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class ListTable;
    void repaintRows();

    ListModel model_;
    ListCustomDraw draw_;
    QTableView* view_ = nullptr;
};

}  // namespace quovella
