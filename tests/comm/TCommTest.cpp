// TComm on a pseudo-terminal, what only the POSIX backend shows: device names that open no serial
// line, exclusive use, a writer held up by a full line, the other end hanging up, and the line
// settings as termios sees them.
#include <fcntl.h>
#include <unistd.h>

#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "comm/TComm.h"
#include "harness/Pty.h"
#include "tests/comm/CommEvents.h"

namespace vortana::test {
namespace {

using Kind = NotificationKind;

std::size_t OpenDescriptors() {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

std::string OpenPortError(TComm& comm) {
    try {
        comm.OpenPort();
    } catch (const ECommsError& error) {
        return error.what();
    }
    return "(opened)";
}

std::optional<PortFailure> OpenPortReason(TComm& comm) {
    try {
        comm.OpenPort();
    } catch (const ECommsError& error) {
        return error.Reason();
    }
    return std::nullopt;
}

class CommOnPty : public ::testing::Test {
  protected:
    CommOnPty() : recorded(pty.SlavePath()), comm(*recorded.comm), events(*recorded.events) {}

    void OpenAndSettle() { ASSERT_TRUE(recorded.OpenAndSettle()); }
    bool Send(const std::vector<std::uint8_t>& bytes) { return recorded.Send(bytes); }
    bool ReceivedCount(std::size_t n) { return recorded.ReceivedCount(n); }

    Pty pty;
    RecordedComm recorded;
    TComm& comm;
    CommEvents& events;
};

TEST_F(CommOnPty, OpenFailuresLeaveNothingBehind) {
    OpenAndSettle();
    EXPECT_EQ(OpenPortError(comm), "This serial port already opened");
    ASSERT_TRUE(Send({1, 2, 3}));
    EXPECT_EQ(pty.Read(3), (std::vector<std::uint8_t>{1, 2, 3})) << "the open port goes on working";
    comm.ClosePort();

    const std::size_t descriptors = OpenDescriptors();
    const std::filesystem::path regular =
        std::filesystem::temp_directory_path() / ("vortana-comm-" + std::to_string(::getpid()));
    std::FILE* file = std::fopen(regular.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    const struct {
        std::string name;
        const char* message;
        PortFailure reason;
    } cases[] = {
        {"/dev/no-such-serial-device", "Error opening serial port", PortFailure::Missing},
        {"COM200", "Error opening serial port", PortFailure::Missing},
        {"", "Error opening serial port", PortFailure::Missing},
        {regular.string(), "File handle is not a comm handle ", PortFailure::NotATerminal},
        {"/dev/null", "File handle is not a comm handle ", PortFailure::NotATerminal},
        {"/dev/tty", "File handle is not a comm handle ", PortFailure::NotATerminal},
        {"tty", "File handle is not a comm handle ", PortFailure::NotATerminal},
    };
    for (const auto& c : cases) {
        comm.SetCommName(c.name);
        EXPECT_EQ(OpenPortError(comm), c.message) << c.name;
        EXPECT_EQ(OpenPortReason(comm), c.reason) << c.name;
        EXPECT_FALSE(comm.IsOpen()) << c.name;
        EXPECT_FALSE(comm.SendBytes("x", 1)) << c.name;
    }
    std::filesystem::remove(regular);
    EXPECT_EQ(OpenDescriptors(), descriptors);

    comm.SetCommName(pty.SlavePath());
    EXPECT_NO_THROW(comm.OpenPort()) << "a failed open does not spoil the next one";
}

TEST_F(CommOnPty, VirtualConsolesAreNoSerialLine) {
    if (!std::filesystem::exists("/dev/tty0"))
        GTEST_SKIP() << "no virtual console on this machine";
    comm.SetCommName("tty0");
    EXPECT_EQ(OpenPortError(comm), "File handle is not a comm handle ");
}

TEST_F(CommOnPty, OneOpenerAtATime) {
    OpenAndSettle();
    RecordedComm second(pty.SlavePath());
    EXPECT_EQ(OpenPortError(*second.comm), "Error opening serial port");
    EXPECT_EQ(OpenPortReason(*second.comm), PortFailure::Busy);
    comm.ClosePort();
    EXPECT_NO_THROW(second.comm->OpenPort()) << "closing gives the device up";
}

TEST_F(CommOnPty, DestroyingAnOpenComponentClosesItsPort) {
    {
        RecordedComm forgotten(pty.SlavePath());
        forgotten.comm->OpenPort();
        EXPECT_EQ(OpenPortError(comm), "Error opening serial port");
    }
    EXPECT_NO_THROW(comm.OpenPort()) << "the device was given up";
}

TEST_F(CommOnPty, SendQueueEmptyAfterOpenAndOnceAfterRequestsWrittenBackToBack) {
    comm.OpenPort();
    EXPECT_TRUE(events.PumpUntil([&] { return events.Count(Kind::SendQueueEmpty) == 1; }))
        << "announced once after the open, though nothing was sent";
    events.PumpFor(200ms);
    EXPECT_EQ(events.Count(Kind::SendQueueEmpty), 1u);
    events.Clear();

    // Nobody reads the master, so the first request is still being written when the second
    // comes: one announcement, after both.
    const std::vector<std::uint8_t> big = Pattern(65535, 3);
    ASSERT_TRUE(Send(big));
    ASSERT_TRUE(Send({1, 2, 3}));
    events.PumpFor(200ms);
    EXPECT_FALSE(comm.SendQueueEmpty());
    EXPECT_EQ(events.Count(Kind::SendQueueEmpty), 0u);

    EXPECT_EQ(pty.Read(big.size() + 3).size(), big.size() + 3);
    EXPECT_TRUE(events.PumpUntil([&] { return events.Count(Kind::SendQueueEmpty) == 1; }));
    events.PumpFor(200ms);
    EXPECT_EQ(events.Count(Kind::SendQueueEmpty), 1u);
    EXPECT_TRUE(comm.SendQueueEmpty());
}

TEST_F(CommOnPty, AHangupRequestPostedBeforeClosePortIsDropped) {
    OpenAndSettle();
    pty.CloseMaster();
    std::this_thread::sleep_for(300ms);  // the reader posts its request, not yet handled
    comm.ClosePort();
    Pty other;
    comm.SetCommName(other.SlavePath());
    comm.OpenPort();
    events.PumpFor(300ms);
    EXPECT_EQ(events.Count(Kind::HangupRequest), 0u);
    EXPECT_TRUE(comm.IsOpen());
}

TEST_F(CommOnPty, TheOtherEndHangingUpEndsTheLinkWithAHangupRequest) {
    OpenAndSettle();
    pty.Write("bye");
    // Taken by the reader, its burst not yet complete: what the reader has not taken, the hang-up
    // throws away.
    ASSERT_TRUE(WaitUntilRead(comm, 3));
    pty.CloseMaster();
    ASSERT_TRUE(events.PumpUntil([&] { return events.Count(Kind::HangupRequest) == 1; }));
    const std::vector<std::uint8_t> all = events.Received();
    EXPECT_EQ(std::string(all.begin(), all.end()), "bye") << "bytes before the hang-up count";

    // The writer finds the line gone at its next write, and ends too.
    EXPECT_TRUE(comm.SendBytes("x", 1));
    ASSERT_TRUE(events.PumpUntil([&] { return events.Count(Kind::HangupRequest) == 2; }));
    EXPECT_FALSE(comm.SendBytes("x", 1));
    EXPECT_TRUE(comm.IsOpen()) << "the component does not close itself";
    comm.ClosePort();
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(CommOnPty, LineSettingsReachTheDeviceAndAreGivenBackOnClose) {
    termios before = pty.SlaveSettings();
    before.c_lflag |= ICANON | ECHO;
    cfsetspeed(&before, B1200);
    pty.SetSlaveSettings(before);

    // A pty keeps 8 data bits and no parity enable whatever it is told (PARODD it keeps).
    comm.SetStopBits(TStopBits::_2);
    comm.SetParity(TParity::Odd);
    comm.OpenPort();
    termios open = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&open), B38400);
    EXPECT_EQ(open.c_cflag & (PARODD | CSTOPB), PARODD | CSTOPB);
    EXPECT_EQ(open.c_lflag & (ICANON | ECHO), 0u) << "raw while open";
    EXPECT_NE(open.c_cflag & CLOCAL, 0u);

    comm.ClosePort();
    const termios after = pty.SlaveSettings();
    EXPECT_EQ(cfgetospeed(&after), B1200);
    EXPECT_EQ(after.c_lflag & (ICANON | ECHO), ICANON | ECHO);
    EXPECT_EQ(after.c_cflag & (PARODD | CSTOPB), before.c_cflag & (PARODD | CSTOPB));
}

TEST_F(CommOnPty, SettersReapplyOnlyOnARealChange) {
    OpenAndSettle();
    // Someone else changes the line behind the component's back: only a re-application of the
    // line settings brings 38400 back.
    const auto speedAfter = [&](const std::function<void()>& change) {
        termios t = pty.SlaveSettings();
        cfsetspeed(&t, B1200);
        pty.SetSlaveSettings(t);
        change();
        const termios now = pty.SlaveSettings();
        return cfgetospeed(&now);
    };
    EXPECT_EQ(speedAfter([&] { comm.SetBaudRate(38400); }), B1200) << "equal value: nothing";
    EXPECT_EQ(speedAfter([&] { comm.SetXonLimit(500); }), B1200);
    EXPECT_EQ(speedAfter([&] { comm.SetParity(TParity::Odd); }), B1200) << "Parity only stores";
    EXPECT_EQ(speedAfter([&] { comm.SetCommName("COM1"); }), B1200);
    EXPECT_EQ(speedAfter([&] { comm.SetReadIntervalTimeout(50); }), B1200) << "a time-out";
    EXPECT_EQ(speedAfter([&] { comm.SetXonLimit(400); }), B38400) << "any other line property";
    const termios t = pty.SlaveSettings();
    EXPECT_NE(t.c_cflag & PARODD, 0u) << "the stored Parity goes along";
    EXPECT_EQ(speedAfter([&] { comm.SetBaudRate(9600); }), B9600);

    EXPECT_EQ(comm.CommName(), "COM1");
    EXPECT_TRUE(Send({9})) << "CommName applies at the next open only";
    EXPECT_EQ(pty.Read(1), std::vector<std::uint8_t>{9});
}

}  // namespace
}  // namespace vortana::test
