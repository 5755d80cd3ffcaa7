#pragma once
// Synthetic mouse and key input for unit tests on the offscreen platform.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace quovella::testing {

inline void sendMouse(QWidget* target, QEvent::Type type, QPoint at,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, local, global, Qt::LeftButton, held, modifiers);
    QApplication::sendEvent(target, &event);
}

inline void press(QWidget* target, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    sendMouse(target, QEvent::MouseButtonPress, at, modifiers);
}

inline void click(QWidget* target, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    sendMouse(target, QEvent::MouseButtonPress, at, modifiers);
    sendMouse(target, QEvent::MouseButtonRelease, at, modifiers);
}

inline void doubleClick(QWidget* target, QPoint at,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    click(target, at, modifiers);
    sendMouse(target, QEvent::MouseButtonDblClick, at, modifiers);
    sendMouse(target, QEvent::MouseButtonRelease, at, modifiers);
}

inline void pressKey(QWidget* target, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &up);
}

}  // namespace quovella::testing
