#include "protocol/ProgressTimers.h"

#include "protocol/Operations.h"

#include <gtest/gtest.h>
#include <map>

namespace vortana {
namespace {

SessionState& Model(SessionState& state, const char* start, const char* end) {
    state.FlashStart = start;
    state.FlashEnd = end;
    return state;
}

TEST(ProgressPeriod, EachOperationDividesTheFlashRangeOrTheImage) {
    SessionState state;
    Model(state, "4000", "FFFF");  // a range of 49151 bytes
    state.ImageSize = 65536;
    const std::pair<CmdKindValue, std::uint32_t> periods[] = {
        {kCmdErase, 49},    {kCmdProgram, 307}, {kCmdVerify, 491},
        {kCmdReadOut, 383}, {kCmdEpc, 383},     {kCmdDownload, 218},
    };
    for (const auto& [kind, ms] : periods)
        EXPECT_EQ(ProgressPeriodMs(OperationOf(kind), state), ms) << int(kind);
}

TEST(ProgressPeriod, ShortRangesGiveZeroAndReversedRangesWrap) {
    SessionState state;
    EXPECT_EQ(ProgressPeriodMs(OperationOf(kCmdErase), Model(state, "4000", "43E7")), 0u);
    // End below start: the difference wraps to 2^32 - 1, about 71.6 minutes a percent.
    EXPECT_EQ(ProgressPeriodMs(OperationOf(kCmdErase), Model(state, "4000", "3FFF")), 4294967u);
    // A text that is no hexadecimal counts as 0.
    EXPECT_EQ(ProgressPeriodMs(OperationOf(kCmdVerify), Model(state, "40G0", "FFFF")), 655u);
    state.ImageSize = 299;
    EXPECT_EQ(ProgressPeriodMs(OperationOf(kCmdDownload), state), 0u);
}

TEST(ProgressTick, ClimbsToNinetyEightAndHolds) {
    SessionState state;
    for (std::uint32_t percent = 1; percent <= 98; ++percent) {
        ASSERT_TRUE(AdvanceProgress(state));
        ASSERT_EQ(state.ProgressPercent, percent);
    }
    EXPECT_FALSE(AdvanceProgress(state));
    EXPECT_EQ(state.ProgressPercent, 98u);
    state.ProgressPercent = 100;  // a success reply came first
    EXPECT_FALSE(AdvanceProgress(state));
    EXPECT_EQ(state.ProgressPercent, 100u);
    EXPECT_EQ(ProgressText(98), "98 %");
    EXPECT_EQ(ProgressText(0), "0 %");
}

TEST(ElapsedTick, CountsTenthsAndTimesOutOnceAtTwoMinutes) {
    SessionState state;
    std::map<std::uint32_t, std::string> labels;
    int timeOuts = 0;
    for (std::uint32_t tick = 1; tick <= 1200; ++tick) {
        const ElapsedTick result = AdvanceElapsed(state);
        labels[tick] = result.label;
        if (result.timedOut) {
            ++timeOuts;
            EXPECT_EQ(tick, 1200u);
        }
    }
    EXPECT_EQ(timeOuts, 1);
    EXPECT_EQ(labels[1], "0.1 秒");
    EXPECT_EQ(labels[9], "0.9 秒");
    EXPECT_EQ(labels[10], "1.0 秒");
    EXPECT_EQ(labels[123], "12.3 秒");
    EXPECT_EQ(labels[600], "60.0 秒");
    EXPECT_EQ(labels[1200], "120.0 秒");
    EXPECT_EQ(state.ElapsedSeconds, 120u);
    EXPECT_EQ(state.ElapsedTenths, 0u);
}

}  // namespace
}  // namespace vortana
