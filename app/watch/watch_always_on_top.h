#pragma once
// The window's always-on-top state, changed the way the add command needs it: the native
// window keeps its identity and is neither hidden, moved nor activated by the change.
class QWidget;

namespace quovella {

void setAlwaysOnTop(QWidget& window, bool onTop);
bool isAlwaysOnTop(const QWidget& window);

}  // namespace quovella
