#include "ui/slider.h"

#include <algorithm>

namespace quovella {

Slider::Slider(int minimum, int maximum, int position, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
    setRange(minimum, maximum);
    setPageStep(5);
    setSingleStep(1);
    setTickInterval(1);
    setTickPosition(QSlider::TicksBelow);
    setPosition(position);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int) { emit positionChanged(); });
}

void Slider::setPosition(int position) {
    setValue(std::clamp(position, minimum(), maximum()));
}

}  // namespace quovella
