#include "comm/posix/PosixSerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdint>

#include "comm/posix/DeviceCheck.h"
#include "comm/posix/DevicePath.h"
#include "comm/posix/Termios.h"

namespace vortana {
namespace {

OpenResult Refused(PortFailure failure) {
    return {
        nullptr,
        failure == PortFailure::NotATerminal ? OpenError::NotACommHandle : OpenError::CannotOpen,
        failure};
}

void SetModemLines(int fd, ModemLineLevels levels) {
    // Devices without modem lines (pseudo-terminals) refuse with ENOTTY; nothing to do there.
    const int dtr = TIOCM_DTR;
    const int rts = TIOCM_RTS;
    ::ioctl(fd, levels.Dtr ? TIOCMBIS : TIOCMBIC, &dtr);
    ::ioctl(fd, levels.Rts ? TIOCMBIS : TIOCMBIC, &rts);
}

bool SetAndReadBack(int fd, const termios& wanted) {
    termios actual{};
    return ::tcsetattr(fd, TCSANOW, &wanted) == 0 && ::tcgetattr(fd, &actual) == 0 &&
           LineSettingsTaken(wanted, actual);
}

IoResult IoOutcome(ssize_t n) {
    if (n > 0)
        return {IoResult::Done, static_cast<std::size_t>(n)};
    if (n == 0)
        return {IoResult::EndOfFile, 0};
    if (errno == EAGAIN || errno == EINTR)
        return {IoResult::WouldBlock, 0};
    return {IoResult::Failed, 0};
}

}  // namespace

OpenResult OpenSerialPort(const std::string& commName) {
    return OpenSerialPort(commName, kSysfsRoot);
}

OpenResult OpenSerialPort(const std::string& commName, const std::string& sysRoot) {
    const std::string path = DevicePathForCommName(commName);
    const DeviceCheck check = CheckSerialDevice(path, sysRoot);
    if (check.refusal)
        return Refused(*check.refusal);
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd)
        return Refused(PortFailureFromErrno(errno));
    // The path may name another file than it did at the check; and a device sysfs calls a tty
    // may still be none (tcgetattr fails with ENOTTY).
    termios before{};
    if (!IsCheckedDevice(fd.Get(), check.device) || ::tcgetattr(fd.Get(), &before) != 0)
        return Refused(PortFailure::NotATerminal);
    // One opener at a time: flock works for root as well, TIOCEXCL also keeps out programs that
    // do not use flock.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
        return Refused(PortFailureFromErrno(errno));
    ::ioctl(fd.Get(), TIOCEXCL);
    // The kernel raises DTR and RTS on every open; the device must not see them until the line
    // settings say so.
    SetModemLines(fd.Get(), ModemLineLevels{});
    // The driver's receive and transmit queues are fixed (4096 bytes in the line discipline);
    // what must be set up is that they hold bytes, not lines.
    termios raw = before;
    MakeRawByteQueue(raw);
    raw.c_cflag |= CLOCAL | CREAD;
    termios actual{};
    if (::tcsetattr(fd.Get(), TCSANOW, &raw) != 0 || ::tcgetattr(fd.Get(), &actual) != 0 ||
        (actual.c_lflag & ICANON) != 0) {
        ::tcsetattr(fd.Get(), TCSANOW, &before);
        // A pty keeps TIOCEXCL after its opener closes: give the device back to others.
        ::ioctl(fd.Get(), TIOCNXCL);
        return {nullptr, OpenError::CannotSetup, PortFailure::Other};
    }
    return {std::make_unique<PosixSerialPort>(std::move(fd), before), OpenError::None};
}

PosixSerialPort::PosixSerialPort(UniqueFd device, const termios& settingsBeforeOpen)
    : device_(std::move(device)), settingsBeforeOpen_(settingsBeforeOpen) {}

PosixSerialPort::~PosixSerialPort() {
    ::tcsetattr(device_.Get(), TCSANOW, &settingsBeforeOpen_);
    ::ioctl(device_.Get(), TIOCNXCL);
}

bool PosixSerialPort::ApplyLineSettings(const LineSettings& settings) {
    termios t{};
    if (::tcgetattr(device_.Get(), &t) != 0)
        return false;
    SetLineSettings(settings, t);
    const bool taken = SetAndReadBack(device_.Get(), t);
    SetModemLines(device_.Get(), ModemLinesFor(settings));
    return taken;
}

void PosixSerialPort::ApplyTimeouts(const CommTimeouts& timeouts) {
    std::lock_guard lock(timeoutsMutex_);
    timeouts_ = timeouts;
}

CommTimeouts PosixSerialPort::Timeouts() const {
    std::lock_guard lock(timeoutsMutex_);
    return timeouts_;
}

void PosixSerialPort::PurgeReceive() {
    ::tcflush(device_.Get(), TCIFLUSH);
}

void PosixSerialPort::PurgeTransmit() {
    ::tcflush(device_.Get(), TCOFLUSH);
}

bool PosixSerialPort::CreateSignals() {
    stop_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    wake_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    return stop_ && wake_;
}

void PosixSerialPort::SignalStop() {
    stopRequested_.store(true);
    // Never read back: the eventfd stays readable, so every later wait sees it at once.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stop_.Get(), &one, sizeof one);
}

bool PosixSerialPort::StopRequested() const {
    return stopRequested_.load();
}

WaitResult PosixSerialPort::WaitFor(int fd, short events, int timeoutMs) {
    pollfd fds[] = {{stop_.Get(), POLLIN, 0}, {fd, events, 0}};
    const int n = ::poll(fds, 2, timeoutMs);
    if (n < 0)
        return errno == EINTR ? WaitResult::TimedOut : WaitResult::Failed;
    if (fds[0].revents != 0 || stopRequested_.load())
        return WaitResult::Stop;
    // A hang-up or error on the device also wakes: the next read or write tells which.
    return fds[1].revents != 0 ? WaitResult::Ready : WaitResult::TimedOut;
}

WaitResult PosixSerialPort::WaitReadable(int timeoutMs) {
    return WaitFor(device_.Get(), POLLIN, timeoutMs);
}

IoResult PosixSerialPort::Read(std::span<std::uint8_t> into) {
    return IoOutcome(::read(device_.Get(), into.data(), into.size()));
}

IoResult PosixSerialPort::Write(std::span<const std::uint8_t> bytes) {
    const IoResult result = IoOutcome(::write(device_.Get(), bytes.data(), bytes.size()));
    // A write that moves nothing is no end of file; it has to be tried again.
    return result.status == IoResult::EndOfFile ? IoResult{IoResult::WouldBlock, 0} : result;
}

WaitResult PosixSerialPort::WaitWritable() {
    return WaitFor(device_.Get(), POLLOUT, kWaitForever);
}

WaitResult PosixSerialPort::WaitForWake() {
    const WaitResult result = WaitFor(wake_.Get(), POLLIN, kWaitForever);
    if (result == WaitResult::Ready) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wake_.Get(), &count, sizeof count);
    }
    return result;
}

void PosixSerialPort::WakeWriter() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_.Get(), &one, sizeof one);
}

std::optional<LineCounters> PosixSerialPort::SampleLineCounters() {
    serial_icounter_struct counts{};
    if (::ioctl(device_.Get(), TIOCGICOUNT, &counts) != 0)
        return std::nullopt;
    const auto u = [](int count) { return static_cast<std::uint32_t>(count); };
    return LineCounters{u(counts.frame),       u(counts.overrun), u(counts.parity), u(counts.brk),
                        u(counts.buf_overrun), u(counts.dcd),     u(counts.rng)};
}

}  // namespace vortana
