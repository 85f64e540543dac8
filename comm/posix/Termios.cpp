#include "comm/posix/Termios.h"

#include <cstddef>

namespace vortana {
namespace {

// Rates termios names. Any other BaudRate cannot be expressed here (it would need the
// Linux-only termios2 interface): the device keeps the speed it had.
constexpr struct {
    std::uint32_t rate;
    speed_t code;
} kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

// Indexed by the ordinal of TByteSize (5 to 8 data bits).
constexpr tcflag_t kCharacterSizes[] = {CS5, CS6, CS7, CS8};

// Indexed by the ordinal of TParity. Mark and space are the sticky parities of CMSPAR.
constexpr tcflag_t kParityFlags[] = {
    0,                         // None
    PARENB | PARODD,           // Odd
    PARENB,                    // Even
    PARENB | CMSPAR | PARODD,  // Mark
    PARENB | CMSPAR,           // Space
};

constexpr tcflag_t kControlBitsSet =
    CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CLOCAL | CREAD;
constexpr tcflag_t kInputBitsSet = IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK | IGNBRK;

template <std::size_t N, typename Enum>
tcflag_t Lookup(const tcflag_t (&table)[N], Enum value, tcflag_t fallback) {
    const auto ordinal = static_cast<std::size_t>(value);
    return ordinal < N ? table[ordinal] : fallback;
}

}  // namespace

void MakeRawByteQueue(termios& t) {
    t.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IUCLC | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    // Reads never block (the descriptor is non-blocking); the reader times bursts itself, at
    // millisecond resolution, where VTIME counts tenths of a second and cannot include the
    // stop signal. So the time-outs are kept by the reader, not by termios.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
}

void SetLineSettings(const LineSettings& s, termios& t) {
    MakeRawByteQueue(t);

    for (const auto& speed : kSpeeds)
        if (speed.rate == s.BaudRate)
            cfsetspeed(&t, speed.code);

    t.c_cflag &= ~kControlBitsSet;
    t.c_cflag |= CLOCAL | CREAD;  // no modem-line dependence: the device may lack a carrier
    t.c_cflag |= Lookup(kCharacterSizes, s.ByteSize, CS8);
    t.c_cflag |= Lookup(kParityFlags, s.Parity, 0);
    // One and a half stop bits exist only for 5 data bits, where the UART makes CSTOPB 1.5;
    // with more data bits termios has no 1.5 and the line gets 2.
    if (s.StopBits != TStopBits::_1)
        t.c_cflag |= CSTOPB;
    // CRTSCTS is both directions at once: CTS paces output and RTS is driven for input. termios
    // cannot have one without the other, so either property switches both on.
    if (s.Outx_CtsFlow || s.RtsControl == TRtsControl::RtsHandshake)
        t.c_cflag |= CRTSCTS;

    t.c_iflag &= ~kInputBitsSet;
    // A break is counted by the driver and reported as a line error; it adds no byte.
    t.c_iflag |= IGNBRK;
    if (s.Outx_XonXoffFlow)
        t.c_iflag |= IXON;
    if (s.Inx_XonXoffFlow)
        t.c_iflag |= IXOFF;
    // With INPCK a byte received with a parity or framing error reads as 0x00: that is the
    // only replacement termios offers, so ReplacedChar other than 0x00 cannot be expressed.
    // Without replacement the byte passes as received and the error is only reported (the
    // driver counts it whatever INPCK says), which is what ParityCheck alone asks for.
    if (s.ParityCheck && s.ReplaceWhenParityError)
        t.c_iflag |= INPCK;
    t.c_cc[VSTART] = static_cast<cc_t>(s.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(s.XoffChar);

    // Not expressible in termios, so dropped (the device behaves as if they were off or at
    // their driver's fixed values):
    //  - Outx_DsrFlow and DsrSensitivity: Linux has no DSR flow control or DSR gating;
    //  - TxContinueOnXoff: the line discipline decides by itself when input flow stops;
    //  - XonLimit and XoffLimit: the thresholds for sending XOFF and XON are fixed in the kernel;
    //  - IgnoreNullChar: received 0x00 bytes are always delivered;
    //  - DtrHandshake and RtsTransmissionAvailable: see ModemLinesFor;
    //  - the rest of the control block (fAbortOnError, EofChar, EvtChar): nothing here uses them.
}

ModemLineLevels ModemLinesFor(const LineSettings& s) {
    ModemLineLevels levels;
    // DTR/DSR handshaking does not exist in termios: DTR is simply held raised as "ready".
    levels.Dtr = s.DtrControl != TDtrControl::DtrDisable;
    // Under RtsHandshake CRTSCTS drives RTS; it starts raised. RtsTransmissionAvailable (RTS
    // raised only while sending) needs the RS-485 mode of a few drivers, not termios: RTS is
    // held low, as it is whenever nothing is being sent.
    levels.Rts =
        s.RtsControl == TRtsControl::RtsEnable || s.RtsControl == TRtsControl::RtsHandshake;
    return levels;
}

bool LineSettingsTaken(const termios& wanted, const termios& actual) {
    return (actual.c_cflag & kControlBitsSet) == (wanted.c_cflag & kControlBitsSet) &&
           (actual.c_iflag & kInputBitsSet) == (wanted.c_iflag & kInputBitsSet) &&
           (actual.c_lflag & ICANON) == (wanted.c_lflag & ICANON) &&
           cfgetispeed(&actual) == cfgetispeed(&wanted) &&
           cfgetospeed(&actual) == cfgetospeed(&wanted) &&
           actual.c_cc[VSTART] == wanted.c_cc[VSTART] && actual.c_cc[VSTOP] == wanted.c_cc[VSTOP];
}

}  // namespace vortana
