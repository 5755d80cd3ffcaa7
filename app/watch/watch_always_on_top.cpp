#include "app/watch/watch_always_on_top.h"

#include <QWidget>
#include <QWindow>

namespace quovella {

void setAlwaysOnTop(QWidget& window, bool onTop) {
    if (isAlwaysOnTop(window) == onTop) return;
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // QWidget::setWindowFlags would destroy and re-create the native window (a flicker and a
    // new window id); the platform window changes the state of the window it has. The widget
    // is told the flags without passing them on again.
    if (QWindow* native = window.windowHandle()) native->setFlags(flags);
    window.overrideWindowFlags(flags);
}

bool isAlwaysOnTop(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace quovella
