// The POSIX backend's pure rules: port names as device paths, and the line settings in termios
// terms.
#include <gtest/gtest.h>

#include "comm/posix/DevicePath.h"
#include "comm/posix/Termios.h"
#include "tests/comm/CommEvents.h"

namespace vortana {
namespace {

using test::MainWindowSettings;

TEST(DevicePathForCommName, MapsComNamesPathsAndBareDeviceNames) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM5", "/dev/ttyS4"},
        {"COM9", "/dev/ttyS8"},
        {"COM10", "/dev/ttyS9"},
        {"com3", "/dev/ttyS2"},
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"COM0", "/dev/COM0"},
        {"COM05", "/dev/COM05"},
        {"COM", "/dev/COM"},
        {"COM1x", "/dev/COM1x"},
        {"COM-1", "/dev/COM-1"},
        {"COM+1", "/dev/COM+1"},
        {"/dev/pts/3", "/dev/pts/3"},
        {"../etc/passwd", "../etc/passwd"},
        {"COM99999999999", "/dev/COM99999999999"},
        {"", "/dev/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DevicePathForCommName(c.name), c.path) << c.name;
}

TEST(Termios, MainWindowSettingsGiveARaw38400Line8N1WithoutFlowControl) {
    termios t{};
    t.c_lflag = ICANON | ECHO | ISIG;
    t.c_iflag = ICRNL | IXON | IGNPAR;
    t.c_oflag = OPOST;
    t.c_cflag = CRTSCTS | PARENB | CSTOPB;
    SetLineSettings(MainWindowSettings(), t);
    EXPECT_EQ(cfgetospeed(&t), B38400);
    EXPECT_EQ(cfgetispeed(&t), B38400);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL | CREAD),
              CS8 | CLOCAL | CREAD);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INPCK | IGNPAR), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 1);
    const ModemLineLevels lines = ModemLinesFor(MainWindowSettings());
    EXPECT_FALSE(lines.Dtr);
    EXPECT_FALSE(lines.Rts);
}

TEST(Termios, CharacterFramingAndFlowControl) {
    LineSettings s;
    s.BaudRate = 115200;
    s.ByteSize = TByteSize::_7;
    s.StopBits = TStopBits::_2;
    s.RtsControl = TRtsControl::RtsHandshake;
    s.XonChar = 0x21;
    s.XoffChar = 0x23;
    const struct {
        TParity parity;
        tcflag_t flags;
    } parities[] = {
        {TParity::None, 0},
        {TParity::Odd, PARENB | PARODD},
        {TParity::Even, PARENB},
        {TParity::Mark, PARENB | CMSPAR | PARODD},
        {TParity::Space, PARENB | CMSPAR},
    };
    for (const auto& p : parities) {
        s.Parity = p.parity;
        termios t{};
        SetLineSettings(s, t);
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), p.flags);
        EXPECT_EQ(t.c_cflag & (CSIZE | CSTOPB | CRTSCTS), CS7 | CSTOPB | CRTSCTS);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), IXON | IXOFF);
        EXPECT_EQ(t.c_cc[VSTART], 0x21);
        EXPECT_EQ(t.c_cc[VSTOP], 0x23);
        EXPECT_EQ(cfgetospeed(&t), B115200);
    }
    EXPECT_TRUE(ModemLinesFor(s).Rts);
    EXPECT_TRUE(ModemLinesFor(s).Dtr);
}

TEST(Termios, WhatCannotBeExpressedLeavesTheRestAlone) {
    termios t{};
    cfsetspeed(&t, B4800);
    LineSettings s;
    s.BaudRate = 12345;    // no termios rate: the device keeps its speed
    s.ParityCheck = true;  // checked, reported, but the byte passes as received
    SetLineSettings(s, t);
    EXPECT_EQ(cfgetospeed(&t), B4800);
    EXPECT_EQ(t.c_iflag & INPCK, 0u);
    s.ReplaceWhenParityError = true;  // replacement is by 0x00, the one termios offers
    SetLineSettings(s, t);
    EXPECT_NE(t.c_iflag & INPCK, 0u);

    LineSettings toggle;
    toggle.RtsControl = TRtsControl::RtsTransmissionAvailable;
    toggle.DtrControl = TDtrControl::DtrHandshake;
    EXPECT_FALSE(ModemLinesFor(toggle).Rts);
    EXPECT_TRUE(ModemLinesFor(toggle).Dtr);
    termios wanted{};
    SetLineSettings(MainWindowSettings(), wanted);
    termios dropped = wanted;
    dropped.c_cflag &= ~CSIZE;
    dropped.c_cflag |= CS7;
    EXPECT_TRUE(LineSettingsTaken(wanted, wanted));
    EXPECT_FALSE(LineSettingsTaken(wanted, dropped));
}

}  // namespace
}  // namespace vortana
