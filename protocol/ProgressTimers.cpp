#include "protocol/ProgressTimers.h"

namespace vortana {
namespace {

constexpr std::uint32_t kMsPerSecond = 1000;
constexpr std::uint32_t kMsPerTenth = 100;

}  // namespace

std::string ProgressText(std::uint32_t percent) {
    return std::to_string(percent) + " %";
}

std::string ElapsedText(std::uint32_t seconds, std::uint32_t tenths) {
    return std::to_string(seconds) + "." + std::to_string(tenths) + " 秒";
}

bool AdvanceProgress(SessionState& state) {
    if (state.ProgressPercent >= kProgressHoldPercent)
        return false;
    ++state.ProgressPercent;
    return true;
}

ElapsedTick AdvanceElapsed(SessionState& state) {
    ++state.ElapsedTicks;
    const std::uint32_t ms = state.ElapsedTicks * kElapsedTickMs;
    state.ElapsedSeconds = ms / kMsPerSecond;
    state.ElapsedTenths = ms % kMsPerSecond / kMsPerTenth;
    return {ElapsedText(state.ElapsedSeconds, state.ElapsedTenths),
            state.ElapsedSeconds == kTimeOutSeconds};
}

}  // namespace vortana
