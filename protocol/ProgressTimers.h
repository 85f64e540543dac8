// What the progress timer (Timer1) and the elapsed-time timer (Timer2) do at each tick.
//
// The device reports nothing while it works, so the progress is an estimate that climbs one
// percent per period and holds at 98 %; only a success reply shows 100 %. The elapsed time
// counts 100 ms ticks and ends a silent operation after two minutes, once. These functions only
// count and form texts; the dispatcher switches the timers and shows the texts. Qt-free.
#pragma once

#include "shell/SessionState.h"

#include <cstdint>
#include <string>

namespace vortana {

inline constexpr std::uint32_t kProgressHoldPercent = 98;   // the estimate never passes this
inline constexpr std::uint32_t kProgressDonePercent = 100;  // shown by a success reply only
inline constexpr std::uint32_t kElapsedTickMs = 100;        // Timer2's fixed period
inline constexpr std::uint32_t kTimeOutSeconds = 120;
inline constexpr const char* kTimeOutText = "本次操作超时失败，编程器无响应，请检查供电是否正常！";

// Label7's text: "0 %", "98 %", "100 %".
std::string ProgressText(std::uint32_t percent);

// Label9's text: "12.3 秒".
std::string ElapsedText(std::uint32_t seconds, std::uint32_t tenths);

// One tick of Timer1. Returns false when ProgressPercent already stands at 98 or more: Timer1 is
// to stop and nothing changed. Otherwise ProgressPercent went up by one.
bool AdvanceProgress(SessionState& state);

struct ElapsedTick {
    std::string label;  // Label9's new text
    bool timedOut;      // the two minutes are up: stop Timer2, then show kTimeOutText
};

// One tick of Timer2: ElapsedTicks, ElapsedSeconds and ElapsedTenths move on.
ElapsedTick AdvanceElapsed(SessionState& state);

}  // namespace vortana
