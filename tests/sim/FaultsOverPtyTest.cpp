// Faults as the front end meets them on the line.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness/SimLine.h"

namespace vortana::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

TEST(SimFaults, SilenceLeavesOneCommandUnanswered) {
    SimLine line;
    line.Sim().InjectFault({FaultKind::Silence});
    line.Send(Frame(0x01));
    EXPECT_TRUE(line.StaysQuiet());
    EXPECT_EQ(line.Ask(Frame(0x01)), ReplyBytes(0x01, 0x99));
}

TEST(SimFaults, LateReplyComesAfterItsDelay) {
    SimLine line;
    line.Sim().InjectFault({FaultKind::Late, 400});
    const auto start = Clock::now();
    EXPECT_EQ(line.Ask(SettingsFrame()), ReplyBytes(0x06, 0x99));
    EXPECT_GE(Clock::now() - start, 400ms);
}

TEST(SimFaults, ShortGarbageAndWrongStatusRepliesReachTheLine) {
    SimLine line;
    line.Sim().InjectFault({FaultKind::Short});
    line.Sim().InjectFault({FaultKind::Garbage});
    line.Sim().InjectFault({FaultKind::WrongStatus});
    EXPECT_EQ(line.Ask(Frame(0x01)), (Bytes{0x68, 0x01, 0x02}));
    const Bytes garbage = line.Ask(Frame(0x01));
    EXPECT_EQ(garbage.size(), 5u);
    EXPECT_NE(garbage.front(), 0x68);
    EXPECT_EQ(line.Ask(Frame(0x01)), ReplyBytes(0x01, 0x5A));
    EXPECT_EQ(line.Sim().FaultsWaiting(), 0u);
}

// Noise written straight onto the line: it reaches the other end whole, holds nothing the
// front end could take for a frame or a status, and the device goes on as if it had not been.
TEST(SimFaults, RawBytesGoOutWholeOutsideAnyAnswer) {
    constexpr std::size_t kLargestBurst = 65535;
    const Bytes noise = Noise(kLargestBurst);
    for (const std::uint8_t meaningful : {0x68, 0x16, 0x99, 0x00, 0x11, 0xEE, 0x55})
        EXPECT_EQ(std::count(noise.begin(), noise.end(), meaningful), 0) << int(meaningful);
    EXPECT_EQ(Noise(5), Bytes(noise.begin(), noise.begin() + 5));

    SimLine line;
    line.Sim().SendRaw(noise);
    EXPECT_EQ(line.ReadCount(kLargestBurst), noise);
    EXPECT_EQ(line.Ask(Frame(0x01)), ReplyBytes(0x01, 0x99));
    EXPECT_EQ(line.Sim().State().frames.size(), 1u);
    EXPECT_EQ(line.Sim().State().badInputs, 0u);
}

TEST(SimFaults, SplitAndDoublePagesReachTheLine) {
    SimLine line;
    line.Sim().InjectFault({FaultKind::SplitPage});
    line.Send(ReadOutFrame(0x80, 4, 0x00));
    EXPECT_EQ(line.ReadBurst().size(), 2048u);
    EXPECT_EQ(line.ReadBurst().size(), 2048u);

    line.Sim().InjectFault({FaultKind::DoublePage});
    line.Send(ReadOutFrame(0x80, 8, 0x00));
    EXPECT_EQ(line.ReadBurst().size(), 8192u);
    EXPECT_TRUE(line.StaysQuiet());
}

TEST(SimFaults, BlockRequestOutOfRange) {
    SimConfig config = SimConfig::Immediate();
    config.faults = {{FaultKind::BlockOutOfRange}};
    SimLine line(config);
    line.Send(HeaderFrame(16, 0x00));
    EXPECT_EQ(line.Ask(Block(0, 0xC0, Bytes(4096, 0xFF))), ReplyBytes(0x00, 0x55, {0x04}));
}

TEST(SimFaults, HangUpInTheMiddleOfADownload) {
    SimLine line;
    line.Sim().InjectFault({FaultKind::HangUp});
    const auto blocks = ImageBlocks(PatternImage(16 * 1024), 0x00, 0xC0);
    line.Send(HeaderFrame(16, 0x00));
    EXPECT_EQ(line.Ask(blocks[0]), ReplyBytes(0x00, 0x55, {0x01}));
    line.Send(blocks[1]);
    EXPECT_TRUE(line.LineEnds());
    EXPECT_TRUE(
        line.Sim().WaitUntil([&](const DeviceState&) { return !line.Sim().Serving(); }, 2s));
    EXPECT_TRUE(line.Sim().HungUp());
    EXPECT_EQ(line.Sim().State().blocks.size(), 2u);
}

TEST(SimFaults, DropLineHangsUpInsteadOfAnsweringAnyCommand) {
    SimLine line;
    line.Sim().InjectFault({FaultKind::DropLine});
    line.Send(Frame(0x03));
    EXPECT_TRUE(line.LineEnds());
    EXPECT_TRUE(
        line.Sim().WaitUntil([&](const DeviceState&) { return !line.Sim().Serving(); }, 2s));
    EXPECT_TRUE(line.Sim().HungUp());
    EXPECT_EQ(line.Sim().State().frames.size(), 1u);
}

}  // namespace
}  // namespace vortana::sim::test
