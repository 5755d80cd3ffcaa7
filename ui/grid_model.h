#pragma once
// The cells of a grid unit: GBK texts with a text colour and a horizontal alignment each.
// Row 0 and column 0 are ordinary cells; the view draws the fixed ones as headers.
#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

#include "ui_core/custom_draw.h"

namespace quovella {

struct GridRange {
    int firstRow = -1;
    int firstColumn = -1;
    int lastRow = -1;
    int lastColumn = -1;
    bool operator==(const GridRange&) const = default;
};

// Alignment codes of the range operation.
constexpr int kAlignCentre = 2;
constexpr int kAlignRight = 3;

struct GridCell {
    std::string text;
    ColourWord textColour = 0;  // 0 or below: the grid's default
    int alignment = 0;          // 2 centred, 3 right, anything else left
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void resize(int rows, int columns);
    bool contains(int row, int column) const;
    const GridCell* cell(int row, int column) const;
    void setText(int row, int column, std::string text);
    int appendRow();
    void removeRow(int row);
    void clearTexts();
    // The range is cut to the existing cells; an empty cut changes nothing.
    void setTextColour(GridRange range, ColourWord colour);
    void setAlignment(GridRange range, int alignment);

    void setFixed(int rows, int columns);
    bool isFixed(int row, int column) const;
    void setEditable(bool editable) { editable_ = editable; }

  private:
    template <typename Change>
    void changeRange(GridRange range, int role, Change change);

    std::vector<std::vector<GridCell>> cells_;
    int columns_ = 0;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    bool editable_ = true;
};

}  // namespace quovella
