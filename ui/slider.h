#pragma once
// A slider unit (range, page and line steps, ticks) with the program's "position changed"
// event.
#include <QSlider>

namespace quovella {

// positionChanged is raised for every user scroll action (line and page steps, keys, the
// wheel, and each step of a thumb drag), also when the action leaves the position as it
// was; it maps QAbstractSlider::actionTriggered. The release that ends a drag raises
// nothing, and neither does setPosition, as with the native control. During the signal
// position() already holds the new position.
class Slider : public QSlider {
    Q_OBJECT
  public:
    Slider(int minimum, int maximum, int position, QWidget* parent = nullptr);

    int position() const { return sliderPosition(); }
    // A position outside the range is brought to the nearest bound.
    void setPosition(int position);

  signals:
    void positionChanged();
};

}  // namespace quovella
