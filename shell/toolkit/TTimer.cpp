#include "shell/toolkit/TTimer.h"

#include <algorithm>
#include <climits>

#include "shell/toolkit/Handler.h"

namespace vortana {

TTimer::TTimer(Desktop& desktop, unsigned interval, bool enabled)
    : desktop_(desktop), interval_(interval), enabled_(enabled) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (OnTimer)
            RunHandler(desktop_, OnTimer);
    });
    Restart();
}

void TTimer::SetInterval(unsigned interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Restart();
}

void TTimer::Restart() {
    timer_.stop();
    if (enabled_ && interval_ > 0)
        timer_.start(static_cast<int>(std::min<unsigned>(interval_, INT_MAX)));
}

}  // namespace vortana
