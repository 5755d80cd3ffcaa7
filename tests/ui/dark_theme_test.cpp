#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <algorithm>

#include "ui/grid.h"
#include "ui/list_view.h"

namespace quovella {
namespace {

// A dark desktop theme: light text meant for dark bases.
QPalette darkPalette() {
    QPalette dark;
    for (const auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) {
        dark.setColor(role, QColor(30, 30, 30));
    }
    for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
    }
    return dark;
}

// Where a unit paints a background of its own, its plain text is black whatever the theme:
// the theme's white would vanish on the program's white.
TEST(DarkTheme, PlainTextOnTheProgramsOwnBackgroundStaysBlack) {
    Grid grid;
    grid.resize(300, 100);
    grid.setColumnCount(3);
    grid.setRowCount(2);
    grid.setFixedRowCount(1);
    grid.setCellText(1, 1, "8888");

    ParentWindow parent{1};
    ListView list{{{"a", 80}}, &parent};
    list.resize(300, 100);
    list.setItemText(list.appendRow(), 0, "8888");
    list.setTextBackground(colourWord(255, 255, 255));  // no text colour of its own

    for (QWidget* unit : {static_cast<QWidget*>(&grid), static_cast<QWidget*>(&list)}) {
        unit->setPalette(darkPalette());
        unit->show();
    }
    const QRect row = list.rowRect(0);
    const struct {
        const char* unit;
        QWidget* widget;
        QRect cell;
    } units[] = {
        {"grid", &grid, grid.cellRect(1, 1)},
        {"list", &list, {list.inputWidget()->mapTo(&list, row.topLeft()), QSize(80, row.height())}},
    };
    for (const auto& [unit, widget, cell] : units) {
        const QImage image = widget->grab().toImage();
        const double scale = image.devicePixelRatio();
        int darkest = 255;
        for (int y = cell.top() + 1; y < cell.bottom() - 1; ++y) {
            for (int x = cell.left() + 1; x < cell.right() - 1; ++x) {
                darkest = std::min(darkest, image.pixelColor(QPoint(x, y) * scale).lightness());
            }
        }
        EXPECT_EQ(image.pixelColor((cell.topLeft() + QPoint(1, 1)) * scale), QColor(Qt::white))
            << unit;
        EXPECT_LT(darkest, 80) << unit << ": the text is not dark";
    }
}

}  // namespace
}  // namespace quovella
