#include "comm/BurstTiming.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "comm/SerialPort.h"

namespace vortana {
namespace {

constexpr std::uint32_t kMaxTimeout = 0xFFFFFFFF;

// Milliseconds left until `limitMs`, rounded up, never below 0 nor above what a wait can take.
int Remaining(double limitMs, double elapsedMs) {
    const double left = std::ceil(limitMs - elapsedMs);
    return static_cast<int>(std::clamp(left, 0.0, double{std::numeric_limits<int>::max()}));
}

}  // namespace

int ReadWaitMs(const CommTimeouts& t, std::size_t held, double msSinceBegin,
               double msSinceLastByte) {
    if (held >= kMaxReadBytes)
        return 0;
    const bool returnWhatIsThere =
        t.ReadIntervalTimeout == kMaxTimeout &&
        ((t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) ||
         t.ReadTotalTimeoutMultiplier == kMaxTimeout);
    if (returnWhatIsThere) {
        if (held > 0)
            return 0;
        if (t.ReadTotalTimeoutMultiplier == kMaxTimeout && t.ReadTotalTimeoutConstant != 0)
            return Remaining(t.ReadTotalTimeoutConstant, msSinceBegin);
        return kWaitForever;
    }

    int wait = kWaitForever;
    const double totalMs = static_cast<double>(t.ReadTotalTimeoutMultiplier) * kMaxReadBytes +
                           static_cast<double>(t.ReadTotalTimeoutConstant);
    if (totalMs > 0)
        wait = Remaining(totalMs, msSinceBegin);
    if (t.ReadIntervalTimeout != 0 && held > 0) {
        const int interval = Remaining(t.ReadIntervalTimeout, msSinceLastByte);
        wait = wait == kWaitForever ? interval : std::min(wait, interval);
    }
    return wait;
}

}  // namespace vortana
