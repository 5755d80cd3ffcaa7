#pragma once
// A timer unit: its interval alone decides whether it runs.
#include <QObject>
#include <QTimer>

namespace quovella {

class Timer : public QObject {
    Q_OBJECT
  public:
    // A positive design-time interval starts the timer at once.
    explicit Timer(int interval, QObject* parent = nullptr);

    int interval() const { return interval_; }
    // Negative counts as 0; 0 stops; a new positive value restarts with that period; the
    // interval it already has changes nothing, so a running timer keeps its phase.
    void setInterval(int milliseconds);
    bool isRunning() const { return timer_.isActive(); }

  signals:
    void tick();
    void intervalChanged(int interval);

  private:
    QTimer timer_;
    int interval_ = 0;
};

}  // namespace quovella
