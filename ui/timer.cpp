#include "ui/timer.h"

#include <algorithm>

namespace quovella {

Timer::Timer(int interval, QObject* parent) : QObject(parent) {
    // A coarse timer may fire up to 5 % late, which lets a 1000 ms clock skip a second.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    setInterval(interval);
}

void Timer::setInterval(int milliseconds) {
    const int wanted = std::max(milliseconds, 0);
    if (wanted == interval_) return;
    interval_ = wanted;
    if (wanted == 0) {
        timer_.stop();
    } else {
        timer_.start(wanted);
    }
    emit intervalChanged(wanted);
}

}  // namespace quovella
