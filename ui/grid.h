#pragma once
// The grid unit: a table of GBK text cells whose leading rows and columns are drawn as
// fixed headers, with whole-row selection, per-cell text colours and alignments.
#include <QWidget>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/grid_model.h"
#include "ui_core/custom_draw.h"

class QTableView;

namespace quovella {

class Grid : public QWidget {
    Q_OBJECT
  public:
    explicit Grid(QWidget* parent = nullptr);

    int rowCount() const;
    void setRowCount(int rows);
    int columnCount() const;
    void setColumnCount(int columns);
    int fixedRowCount() const { return fixedRows_; }
    void setFixedRowCount(int rows);
    int fixedColumnCount() const { return fixedColumns_; }
    void setFixedColumnCount(int columns);

    // Applied to every existing row / column and to those added later.
    void setDefaultRowHeight(int height);
    void setDefaultColumnWidth(int width);
    void setColumnWidth(int column, int width);
    int rowHeight(int row) const;
    int columnWidth(int column) const;

    // A cell outside the grid reads as missing; a write outside does nothing.
    std::optional<std::string> cellText(int row, int column) const;
    void setCellText(int row, int column, std::string_view text);
    // Returns the new row's index.
    int appendRow();
    void deleteRow(int row);
    // Empties every cell's text; the counts stay.
    void clearCells();

    // Ranges are cut to the existing cells.
    void setTextColour(GridRange range, ColourWord colour);
    // 2 centred, 3 right, anything else left; text stays vertically centred.
    void setAlignment(GridRange range, int alignment);
    ColourWord cellTextColour(int row, int column) const;
    int cellAlignment(int row, int column) const;

    void setGridLineColour(ColourWord colour);
    ColourWord gridLineColour() const { return gridLineColour_; }
    void setBackgroundColour(ColourWord colour);
    ColourWord backgroundColour() const { return backgroundColour_; }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    void setWholeRowSelection(bool wholeRow) { wholeRow_ = wholeRow; }
    bool wholeRowSelection() const { return wholeRow_; }

    // -1 when there is none.
    int currentRow() const { return currentRow_; }
    int currentColumn() const { return currentColumn_; }
    GridRange selectedRange() const { return selection_; }
    // Programmatic moves raise no event, as with the native control.
    void setCurrentCell(int row, int column);
    void selectRange(GridRange range);

    // A cell's rectangle in grid coordinates; the widget that receives mouse input.
    QRect cellRect(int row, int column) const;
    QWidget* inputWidget() const;

    // For the painter.
    bool isSelected(int row, int column) const;
    bool isFixedCell(int row, int column) const;
    const GridModel& model() const { return model_; }

  signals:
    void currentCellChanged(int row, int column);
    // x, y in grid coordinates; keys: 1 Ctrl, 2 Shift, 4 Alt.
    void doubleClicked(int x, int y, int keys);
    void leftButtonReleased(int x, int y, int keys);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class GridView;
    void pressCell(int row, int column);
    void moveCurrent(int rowStep, int columnStep);
    void repaintCells();
    // Current cell and selection keep only cells that still exist.
    void forgetVanishedCells();

    GridModel model_;
    QTableView* view_ = nullptr;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    int defaultRowHeight_ = 24;
    int defaultColumnWidth_ = 60;
    ColourWord gridLineColour_ = kGridLineColour;
    ColourWord backgroundColour_ = kGridBackground;
    bool readOnly_ = false;
    bool wholeRow_ = true;
    int currentRow_ = -1;
    int currentColumn_ = -1;
    GridRange selection_;
};

// One column of a header row: its caption (UTF-8 in the source) and its width.
struct GridHeaderColumn {
    const char* caption;
    int width;
};

// Writes the captions into row 0 and sets the widths, column by column from column 0.
void writeHeaderRow(Grid& grid, std::span<const GridHeaderColumn> columns);

}  // namespace quovella
