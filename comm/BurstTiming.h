// When the reader completes a pending read: the meaning of the read time-outs.
//
//   - ReadIntervalTimeout (ms, 0: unused): once a byte has come, the read completes when that
//     long passes without a further byte. This is what splits the line into bursts.
//   - ReadTotalTimeoutMultiplier * 65535 + ReadTotalTimeoutConstant (ms, 0: unused): the read
//     completes that long after it began, with whatever it holds. One that holds nothing then
//     is simply begun again: the reader goes on reading.
//   - An interval of 0xFFFFFFFF with both totals 0: a read completes as soon as it holds bytes.
//     With the multiplier also 0xFFFFFFFF the same, and a read still empty after the constant
//     is begun again.
//   - A read that holds kMaxReadBytes completes at once.
// Write time-outs have no effect: the writer writes each request whole, however long it takes.
// Pure; safe on any thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "comm/LineSettings.h"

namespace vortana {

// The most one read, and so one OnReceiveData, carries: the largest 16-bit count.
inline constexpr std::size_t kMaxReadBytes = 65535;

// How long the pending read may still wait for bytes, in whole milliseconds, rounded up:
// kWaitForever (-1) for no limit, 0 to complete it now. `held` is the count of bytes the read
// holds; the two ages are the milliseconds since it began and since its last byte came.
int ReadWaitMs(const CommTimeouts& timeouts, std::size_t held, double msSinceBegin,
               double msSinceLastByte);

}  // namespace vortana
