#include "app/watch_always_on_top.h"

#include <QWidget>

namespace quovella {

void setAlwaysOnTop(QWidget& window, bool onTop) {
    if (isAlwaysOnTop(window) == onTop) return;
    // Changing a window flag hides a visible window; it comes back where it was, without
    // taking the focus from whatever has it.
    const bool wasVisible = window.isVisible();
    const QPoint position = window.pos();
    const bool activates = !window.testAttribute(Qt::WA_ShowWithoutActivating);
    window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (!wasVisible) return;
    window.setAttribute(Qt::WA_ShowWithoutActivating, true);
    window.move(position);
    window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating, !activates);
}

bool isAlwaysOnTop(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace quovella
