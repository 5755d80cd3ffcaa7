#pragma once
// The key state that mouse events of every unit pass along.
#include <Qt>

namespace quovella {

constexpr int kKeyCtrl = 1;
constexpr int kKeyShift = 2;
constexpr int kKeyAlt = 4;

inline int keyStateOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ControlModifier) ? kKeyCtrl : 0) |
           (modifiers.testFlag(Qt::ShiftModifier) ? kKeyShift : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? kKeyAlt : 0);
}

}  // namespace quovella
