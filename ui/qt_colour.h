#pragma once
// The Qt boundary for colours: a colour word as Qt paints it.
#include <QColor>

#include "common/colour.h"

namespace quovella {

inline QColor qColour(ColourWord c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

}  // namespace quovella
