#include "production/ShiftTally.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

std::vector<PortOutcome> Round(std::int64_t firstSerial, std::vector<ExitStatus> statuses) {
    std::vector<PortOutcome> outcomes;
    for (const ExitStatus status : statuses) {
        outcomes.emplace_back();
        outcomes.back().status = status;
        outcomes.back().serial = firstSerial;
        firstSerial += 10;
    }
    return outcomes;
}

TEST(ShiftTally, CountsBoardsAndJoinsTheNumbersRoundsTook) {
    ShiftTally tally;
    const ExitStatus ok = ExitStatus::Success;
    const RoundTally first = tally.AddRound(Round(100, {ok, ok}), 10, ok);
    EXPECT_EQ(first.round, 1u);
    EXPECT_EQ(first.passed, 2u);
    EXPECT_EQ(first.serials, (std::vector<SerialNumbers>{{100, 119}}));
    const RoundTally second =
        tally.AddRound(Round(120, {ExitStatus::TimedOut, ok}), 10, ExitStatus::TimedOut);
    EXPECT_EQ(second.failed, 1u);
    tally.AddRound(Round(200, {ok, ExitStatus::VerifyMismatch}), 10, ExitStatus::VerifyMismatch);

    EXPECT_EQ(tally.Rounds(), 3u);
    EXPECT_EQ(tally.Passed(), 4u);
    EXPECT_EQ(tally.Failed(), 2u);
    EXPECT_EQ(tally.Boards(), 6u);
    EXPECT_EQ(tally.Serials(), (std::vector<SerialNumbers>{{100, 139}, {200, 219}}));
    EXPECT_EQ(tally.Status(), ExitStatus::TimedOut);  // the first round that failed
}

TEST(ShiftTally, SucceedsOnlyWhenEveryRoundDid) {
    ShiftTally tally;
    EXPECT_EQ(tally.Status(), ExitStatus::Success);
    tally.AddRound(Round(1, {ExitStatus::Success}), 1, ExitStatus::Success);
    EXPECT_EQ(tally.Status(), ExitStatus::Success);
    tally.AddRound({}, 1, ExitStatus::FileRefused);  // a record that could not be written
    EXPECT_EQ(tally.Status(), ExitStatus::FileRefused);
    EXPECT_TRUE(tally.AddRound({}, 1, ExitStatus::Success).serials.empty());
}

}  // namespace
}  // namespace vortana
