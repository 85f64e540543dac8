// TTimer: a timer with an interval in milliseconds, an enable switch and a tick handler.
//
// It ticks every Interval ms while Enabled and Interval > 0; interval 0 never ticks. Setting the
// interval it already has, or enabling it while it is enabled, changes nothing (the next tick
// stays where it was); a different interval restarts a running timer from that moment. Each tick
// runs OnTimer through the handler adapter. The ticks come from the user-interface thread's event
// loop, nested loops of modal windows and boxes included. User-interface thread only.
#pragma once

#include <QTimer>
#include <functional>

namespace vortana {

class Desktop;

class TTimer {
  public:
    TTimer(Desktop& desktop, unsigned interval, bool enabled);
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Running() const { return timer_.isActive(); }          // Enabled with a non-zero interval
    int RemainingMs() const { return timer_.remainingTime(); }  // until the next tick; -1 stopped

    std::function<void()> OnTimer;

  private:
    void Restart();

    Desktop& desktop_;
    QTimer timer_;
    unsigned interval_;
    bool enabled_;
};

}  // namespace vortana
