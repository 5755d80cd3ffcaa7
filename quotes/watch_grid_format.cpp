#include "quotes/watch_grid_format.h"

#include <array>
#include <cmath>

#include "common/gbk.h"
#include "common/numbers.h"
#include "common/text_rules.h"

namespace quovella {
namespace {

constexpr double changeFloor = -0.0000001;

// The last field a refresh shows (the time).
constexpr int lastRefreshField = 32;

// Columns 3..10 from fields: prices 2..6, volume 9, amount 10, change from 4 and 3.
template <typename Field>
std::vector<GridCellText> quoteColumns(const Field& field) {
    std::vector<GridCellText> cells;
    for (int column = 3; column <= 7; ++column) {
        cells.push_back({column, std::string(field(column - 1))});
    }
    cells.push_back({8, formatLargeNumber(field(9), NumberMode::wholeNumber)});
    cells.push_back({9, formatLargeNumber(field(10), NumberMode::decimal)});
    cells.push_back({10, changePercentText(leadingDouble(field(4)), leadingDouble(field(3)))});
    return cells;
}

}  // namespace

std::string formatLargeNumber(std::string_view value, NumberMode mode) {
    static const std::string wan = gbk("万");
    static const std::string yi = gbk("亿");
    const std::size_t digits =
        mode == NumberMode::wholeNumber ? value.size() : textBetween(value, nullptr, ".").size();
    const double number = leadingDouble(value);
    if (digits <= 8) return doubleText(roundTo(number / 10000.0, 3)) + wan;
    return doubleText(roundTo(number / 100000000.0, 3)) + yi;
}

double changePercent(double price, double previousClose) {
    return roundTo((price - previousClose) / previousClose * 100.0, 3);
}

std::string changePercentText(double price, double previousClose) {
    const double change = changePercent(price, previousClose);
    if (!std::isfinite(change)) return {};
    return doubleText(change) + "%";
}

std::optional<ColourWord> changeColour(double price, double previousClose) {
    const double change = changePercent(price, previousClose);
    if (!std::isfinite(change)) return std::nullopt;
    return change < changeFloor ? kFallingColour : kRisingColour;
}

WatchRowFill fullFillRow(const QuoteTable& table, int row) {
    // Cell k + 1 of the table holds field k.
    const auto field = [&](int k) -> const std::string& { return table.cell(row, k + 1); };
    WatchRowFill fill;
    fill.cells.push_back({2, field(1)});
    for (GridCellText& cell : quoteColumns(field)) fill.cells.push_back(std::move(cell));
    fill.cells.push_back({11, field(32)});
    fill.colour = changeColour(leadingDouble(field(4)), leadingDouble(field(3)));
    return fill;
}

std::optional<std::vector<GridCellText>> refreshRow(std::string_view content) {
    if (content.empty()) return std::nullopt;
    // Views of the first fields only: the rest of a long content is never cut. Fields the
    // content does not reach stay empty.
    std::array<std::string_view, lastRefreshField> fields;
    firstParts(content, ",", fields);
    const auto field = [&](int k) { return fields[static_cast<std::size_t>(k - 1)]; };
    if (field(1).empty()) return std::nullopt;
    std::vector<GridCellText> cells = quoteColumns(field);
    cells.push_back({11, std::string(field(31)) + " " + std::string(field(32))});
    return cells;
}

}  // namespace quovella
