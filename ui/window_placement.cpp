#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace quovella {

void centreOnScreen(QWidget& window, int outerWidth, int outerHeight) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    window.move(area.x() + (area.width() - outerWidth) / 2,
                area.y() + (area.height() - outerHeight) / 2);
}

}  // namespace quovella
