#pragma once

#include <QTimer>
#include <QWidget>

namespace lumavo {

// The splash window shown while the program starts: borderless, blue, centred; it closes and
// deletes itself on the sixth tick of its 500 ms timer.
class Tsplasher : public QWidget {
    Q_OBJECT
public:
    explicit Tsplasher(QWidget* parent = nullptr);

    // Shows the window without waiting, resets the tick counter, starts the timer and lets
    // pending messages run once so that it paints.
    void showSplash();
    int ticks() const { return ticks_; }
    bool timerActive() const { return timer_.isActive(); }

public slots:
    void Timer1Timer();

private:
    QTimer timer_;
    int ticks_ = 0;
};

} // namespace lumavo
