// PosixSerialPort: the SerialPort of a terminal device on Linux, with eventfds for the stop
// signal and the writer's wake-up. Made by OpenSerialPort (SerialPort.h), which names the
// device with DevicePathForCommName; see SerialPort.h for the threads' rules.
//
// Only a device that CheckSerialDevice allows is opened (a terminal of a tty driver or a
// pseudo-terminal); any other name is refused untouched.
//
// The descriptor is non-blocking and close-on-exec, holds an exclusive flock (and TIOCEXCL,
// which root ignores, hence the flock) and is not the opener's controlling terminal. Line
// errors and modem-line changes come from the driver's TIOCGICOUNT counters; devices without
// them (pseudo-terminals) report none.
#pragma once

#include <termios.h>

#include <atomic>
#include <mutex>
#include <string>

#include "base/UniqueFd.h"
#include "comm/SerialPort.h"

namespace vortana {

inline constexpr const char* kSysfsRoot = "/sys";

// OpenSerialPort, deciding from the sysfs tree under `sysRoot` which devices are terminals.
OpenResult OpenSerialPort(const std::string& commName, const std::string& sysRoot);

class PosixSerialPort final : public SerialPort {
  public:
    // Takes the open, locked, raw device and the settings to give back when it is closed.
    PosixSerialPort(UniqueFd device, const termios& settingsBeforeOpen);
    ~PosixSerialPort() override;

    bool ApplyLineSettings(const LineSettings& settings) override;
    void ApplyTimeouts(const CommTimeouts& timeouts) override;
    CommTimeouts Timeouts() const override;
    void PurgeReceive() override;
    void PurgeTransmit() override;

    bool CreateSignals() override;
    void SignalStop() override;
    bool StopRequested() const override;

    WaitResult WaitReadable(int timeoutMs) override;
    IoResult Read(std::span<std::uint8_t> into) override;
    IoResult Write(std::span<const std::uint8_t> bytes) override;
    WaitResult WaitWritable() override;
    WaitResult WaitForWake() override;
    void WakeWriter() override;

    std::optional<LineCounters> SampleLineCounters() override;

  private:
    // Waits for `events` on `fd` or for the stop signal.
    WaitResult WaitFor(int fd, short events, int timeoutMs);

    UniqueFd device_;
    const termios settingsBeforeOpen_;
    UniqueFd stop_;
    UniqueFd wake_;
    std::atomic<bool> stopRequested_{false};
    mutable std::mutex timeoutsMutex_;
    CommTimeouts timeouts_;
};

}  // namespace vortana
