// TComm on a serial line of the system's own (TestLine): opening and closing, moving bytes both
// ways, the burst rule, and a close in the middle of a long write.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "comm/TComm.h"
#include "tests/comm/CommEvents.h"
#include "tests/comm/TestLine.h"

namespace vortana::test {
namespace {

using Kind = NotificationKind;

class CommOnLine : public ::testing::Test {
  protected:
    CommOnLine() : recorded(line.CommName()), comm(*recorded.comm), events(*recorded.events) {}

    void SetUp() override {
        if (!line.Available())
            GTEST_SKIP() << "no serial line to test on";
    }
    void OpenAndSettle() { ASSERT_TRUE(recorded.OpenAndSettle()); }
    bool Send(const std::vector<std::uint8_t>& bytes) { return recorded.Send(bytes); }
    bool ReceivedCount(std::size_t n) { return recorded.ReceivedCount(n); }

    TestLine line;
    RecordedComm recorded;
    TComm& comm;
    CommEvents& events;
};

TEST_F(CommOnLine, OpensMovesBytesBothWaysAndCloses) {
    OpenAndSettle();
    EXPECT_TRUE(comm.IsOpen());

    const std::vector<std::uint8_t> frame = {0x68, 0x04, 0x00, 0x16};
    ASSERT_TRUE(Send(frame));
    EXPECT_EQ(line.Read(frame.size()), frame);

    line.Write("\x68\x04\x01\x99\x16");
    ASSERT_TRUE(ReceivedCount(5));
    ASSERT_EQ(events.Bursts(),
              (std::vector<std::vector<std::uint8_t>>{{0x68, 0x04, 0x01, 0x99, 0x16}}));
    for (const CommEvent& e : events.All())
        if (e.kind == Kind::DataReceived) {
            EXPECT_EQ(e.value, 0u) << "the byte after the counted ones is a zero";
        }

    comm.ClosePort();
    EXPECT_FALSE(comm.IsOpen());
    events.PumpFor(200ms);
    EXPECT_EQ(events.Count(Kind::HangupRequest), 0u);
}

TEST_F(CommOnLine, ClosingIsHarmlessWhenClosedAndAnyNumberOfTimes) {
    comm.ClosePort();
    OpenAndSettle();
    comm.ClosePort();
    comm.ClosePort();
    EXPECT_FALSE(comm.IsOpen());
    EXPECT_TRUE(comm.SendQueueEmpty());
    OpenAndSettle();
    EXPECT_TRUE(Send({7}));
    EXPECT_EQ(line.Read(1), std::vector<std::uint8_t>{7}) << "a reopened port has fresh threads";
}

TEST_F(CommOnLine, SendBytesRefusesNothingToSendAndAClosedPort) {
    EXPECT_FALSE(comm.SendBytes("abc", 3));
    comm.OpenPort();
    EXPECT_FALSE(comm.SendBytes("abc", 0));
    EXPECT_FALSE(comm.SendBytes(nullptr, 3));
    // The writer's queue takes requests from the moment OpenPort returns.
    EXPECT_TRUE(comm.SendBytes("abc", 3));
    EXPECT_EQ(line.ReadUntilQuiet(), (std::vector<std::uint8_t>{'a', 'b', 'c'}));
}

TEST_F(CommOnLine, SendBytesCopiesBeforeItReturnsAndKeepsOrder) {
    OpenAndSettle();
    std::vector<std::uint8_t> first = Pattern(3000, 1);
    const std::vector<std::uint8_t> firstSent = first;
    std::vector<std::uint8_t> block = Pattern(4102, 2);
    const std::vector<std::uint8_t> blockSent = block;
    ASSERT_TRUE(Send(first));
    ASSERT_TRUE(Send(block));
    std::fill(first.begin(), first.end(), 0xEE);  // the caller reuses its buffers at once
    std::fill(block.begin(), block.end(), 0xEE);

    std::vector<std::uint8_t> expected = firstSent;
    expected.insert(expected.end(), blockSent.begin(), blockSent.end());
    EXPECT_EQ(line.Read(expected.size()), expected);
    EXPECT_TRUE(line.ReadUntilQuiet().empty());
}

TEST_F(CommOnLine, BurstsEndAfterTheReadIntervalOfSilence) {
    OpenAndSettle();
    // Gaps well below the 100 ms interval join; a pause well above it splits.
    line.Write("ab");
    std::this_thread::sleep_for(20ms);
    line.Write("cd");
    std::this_thread::sleep_for(20ms);
    line.Write("ef");
    std::this_thread::sleep_for(400ms);
    line.Write("gh");
    ASSERT_TRUE(ReceivedCount(8));
    events.PumpFor(300ms);
    EXPECT_EQ(events.BurstSizes(), (std::vector<std::size_t>{6, 2}));
    const std::vector<std::uint8_t> all = events.Received();
    EXPECT_EQ(std::string(all.begin(), all.end()), "abcdefgh");
}

TEST_F(CommOnLine, ChangedIntervalAppliesAtOnceWhileOpen) {
    OpenAndSettle();
    comm.SetReadIntervalTimeout(600);
    line.Write("ab");
    std::this_thread::sleep_for(250ms);  // would split bursts at 100 ms
    line.Write("cd");
    ASSERT_TRUE(ReceivedCount(4));
    EXPECT_EQ(events.BurstSizes(), std::vector<std::size_t>{4});
}

TEST_F(CommOnLine, LongStreamsArriveInReadsOfAtMost65535Bytes) {
    OpenAndSettle();
    const std::vector<std::uint8_t> stream = Pattern(70000, 4);
    line.Write(stream);
    ASSERT_TRUE(ReceivedCount(stream.size()));
    events.PumpFor(300ms);
    EXPECT_EQ(events.Received(), stream);
    const std::vector<std::size_t> sizes = events.BurstSizes();
    EXPECT_GE(sizes.size(), 2u);
    for (std::size_t size : sizes)
        EXPECT_LE(size, 65535u);
    for (const CommEvent& e : events.All())
        if (e.kind == Kind::DataReceived) {
            EXPECT_EQ(e.value, 0u) << "every copy ends in an uncounted zero";
        }
}

TEST_F(CommOnLine, ClosePortStopsALongWriteAtOnceAndDropsTheRest) {
    OpenAndSettle();
    const std::vector<std::uint8_t> big = Pattern(65535, 5);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(Send(big));
    events.PumpFor(200ms);  // the master is not read: the writer is stuck in the first request
    EXPECT_FALSE(comm.SendQueueEmpty());

    comm.ClosePort();
    EXPECT_TRUE(comm.SendQueueEmpty());
    EXPECT_FALSE(comm.SendBytes(big.data(), 10));
    events.PumpFor(200ms);
    EXPECT_EQ(events.Count(Kind::HangupRequest), 0u);
    EXPECT_EQ(events.Count(Kind::SendQueueEmpty), 0u);
    const std::vector<std::uint8_t> arrived = line.ReadUntilQuiet();
    EXPECT_LT(arrived.size(), 4 * big.size());
    EXPECT_TRUE(std::equal(arrived.begin(), arrived.end(), big.begin(),
                           big.begin() + std::min(arrived.size(), big.size())))
        << "what did leave is the start of the first request";
}

TEST_F(CommOnLine, NotificationsPostedBeforeClosePortAreStillDelivered) {
    OpenAndSettle();
    line.Write("late");
    std::this_thread::sleep_for(500ms);  // the burst completes and is posted, not yet handled
    comm.ClosePort();
    ASSERT_TRUE(ReceivedCount(4));
    const std::vector<std::uint8_t> all = events.Received();
    EXPECT_EQ(std::string(all.begin(), all.end()), "late");
    EXPECT_EQ(events.Count(Kind::HangupRequest), 0u);
}

TEST_F(CommOnLine, ReceiveActivityCountsBytesWhenReadLongBeforeTheirBurstIsDelivered) {
    OpenAndSettle();
    EXPECT_FALSE(comm.ReceiveActivity().lastByte) << "nothing read yet";
    line.Write("abc");
    // Nothing is delivered here: the count comes from the reader as it reads.
    ASSERT_TRUE(WaitUntilRead(comm, 3));
    EXPECT_EQ(comm.ReceiveActivity().bytesRead, 3u);
    EXPECT_TRUE(comm.ReceiveActivity().lastByte);
}

}  // namespace
}  // namespace vortana::test
