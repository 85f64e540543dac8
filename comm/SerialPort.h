// SerialPort: one open serial device as TComm and its two worker threads share it, with the
// stop signal that ends both threads and the wake-up of the writer's request queue. The one
// interface behind which the platform's serial services live; the backend (comm/posix/) is
// chosen by the build.
//
// Threads: ApplyLineSettings, ApplyTimeouts, the purges and SignalStop are called by the
// owner's thread; the Wait*, Read and Write calls by the worker named beside them; WakeWriter
// from any thread. Reader and writer use the device at the same time, each in its own direction.
// Destroying the port (owner's thread, after both workers have ended) gives the device back with
// the terminal settings it had before the open, and closes the signals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "comm/LineCounters.h"
#include "comm/LineSettings.h"
#include "comm/PortFailure.h"

namespace vortana {

// A wait's outcome. Stop wins over everything else that is ready at the same time.
enum class WaitResult { Stop, Ready, TimedOut, Failed };

struct IoResult {
    enum Status { Done, WouldBlock, EndOfFile, Failed };
    Status status = Failed;
    std::size_t count = 0;  // bytes moved when Done (never 0 then)
};

inline constexpr int kWaitForever = -1;

class SerialPort : public LineCounterSource {
  public:
    ~SerialPort() override = default;

    // Owner's thread. Settings the device refuses are dropped; the result says whether the
    // device took every setting it was given (nothing in the component depends on it).
    virtual bool ApplyLineSettings(const LineSettings& settings) = 0;
    // Owner's thread; read by the reader at each wait, so a change applies to the next wait.
    virtual void ApplyTimeouts(const CommTimeouts& timeouts) = 0;
    virtual CommTimeouts Timeouts() const = 0;
    // Owner's thread: drop whatever is pending in one or both directions.
    virtual void PurgeReceive() = 0;
    virtual void PurgeTransmit() = 0;

    // Creates the stop signal and the writer's wake-up; false when the system refuses.
    virtual bool CreateSignals() = 0;
    // Any thread. From now on every wait returns Stop and StopRequested is true; never undone.
    virtual void SignalStop() = 0;
    virtual bool StopRequested() const = 0;

    // Reader: waits up to `timeoutMs` (kWaitForever: no limit) for bytes or the other end's
    // hang-up (both Ready), then reads without waiting.
    virtual WaitResult WaitReadable(int timeoutMs) = 0;
    virtual IoResult Read(std::span<std::uint8_t> into) = 0;

    // Writer: writes what the device takes now; waits until it takes more.
    virtual IoResult Write(std::span<const std::uint8_t> bytes) = 0;
    virtual WaitResult WaitWritable() = 0;
    // Writer: waits without limit until WakeWriter was called since the last wait returned
    // Ready, or the stop signal.
    virtual WaitResult WaitForWake() = 0;
    virtual void WakeWriter() = 0;
};

// Why a device could not be opened as a serial line.
enum class OpenError {
    None,
    CannotOpen,      // no such device, no access, or held by another opener
    NotACommHandle,  // not a terminal device, or a console rather than a serial line; a name
                     // that is none is refused before anything opens it
    CannotSetup,     // the device refuses the raw byte queue that a serial line needs
};

struct OpenResult {
    std::unique_ptr<SerialPort> port;  // set exactly when error is None
    OpenError error = OpenError::None;
    PortFailure failure = PortFailure::Other;  // the reason, when error is not None
};

// Opens the device that `commName` names (see the backend for the mapping) exclusively, with
// the modem lines DTR and RTS dropped. Owner's thread.
OpenResult OpenSerialPort(const std::string& commName);

}  // namespace vortana
