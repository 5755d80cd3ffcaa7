#pragma once
// The texts and the colour of a watch-grid row, computed from a quote so that the Qt grid
// only has to write them. Grid columns: 2 name, 3 open, 4 previous close, 5 current price,
// 6 high, 7 low, 8 volume, 9 amount, 10 change percentage, 11 time.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/colour.h"
#include "quotes/quote_table.h"

namespace quovella {

enum class NumberMode { wholeNumber, decimal };

// Scales a volume (whole-number mode) or an amount (decimal mode) to 万 or 亿 with three
// decimals: 12345678 gives 1234.568万, 123456789 gives 1.235亿. The digit count is the
// whole text's length, or in decimal mode the length before the first "." (0 without one).
std::string formatLargeNumber(std::string_view value, NumberMode mode);

// (price - previousClose) / previousClose * 100 to three decimals; not finite when the
// previous close is 0.
double changePercent(double price, double previousClose);

// Column 10: the change followed by "%", or empty when the change is not defined.
std::string changePercentText(double price, double previousClose);

// Text colour of columns 3..10: kRisingColour when up or unchanged (change >= -0.0000001),
// kFallingColour when down; nothing (the grid's default) when the change is not defined.
std::optional<ColourWord> changeColour(double price, double previousClose);

struct GridCellText {
    int column = 0;
    std::string text;
    friend bool operator==(const GridCellText&, const GridCellText&) = default;
};

struct WatchRowFill {
    std::vector<GridCellText> cells;   // columns 2..11
    std::optional<ColourWord> colour;  // for columns 3..10
};

// The full fill of grid row `row` from the same row of the table (column 11 = field 32).
WatchRowFill fullFillRow(const QuoteTable& table, int row);

// The periodic refresh of a row from its quote content: columns 3..11, column 11 = field 31,
// one space, field 32. Nothing when the refresh must end at this row (empty content or
// empty name). The refresh leaves colours alone.
std::optional<std::vector<GridCellText>> refreshRow(std::string_view content);

}  // namespace quovella
