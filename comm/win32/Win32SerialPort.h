// Win32SerialPort: the SerialPort of a Windows comm device, opened for overlapped input and
// output, with Win32 events for the stop signal and the writer's wake-up. Made by
// OpenSerialPort (SerialPort.h), which names the device with DevicePathForCommName; see
// SerialPort.h for the threads' rules.
//
// The device is opened without sharing, so Windows itself keeps other openers out. Its own
// time-outs are fixed: a read waits for every byte it asks for and a write never times out.
// The component's time-outs are kept by the reader above this interface, as on every system:
// the reader waits with a one-byte read (the look-ahead byte) and then asks only for what the
// driver holds, which is there at once.
//
// Line errors and modem-line changes come from a pending WaitCommEvent and from ClearCommError,
// counted into LineCounters. A device that cannot wait for line events (Wine's mapping of a
// pseudo-terminal) reports none, like a pseudo-terminal on Linux.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>

#include "comm/SerialPort.h"
#include "comm/win32/UniqueHandle.h"

namespace vortana {

class Win32SerialPort final : public SerialPort {
  public:
    // Takes the open, set-up device and what to give back when it is closed.
    Win32SerialPort(UniqueHandle device, const DCB& stateBeforeOpen,
                    const COMMTIMEOUTS& timeoutsBeforeOpen);
    ~Win32SerialPort() override;

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
    // One overlapped operation: its record, whose manual-reset event is owned by `done`.
    struct Overlapped {
        OVERLAPPED record{};
        UniqueHandle done;
        bool pending = false;
    };
    enum class LookAhead { Idle, Pending, Held, Failed };

    bool CreateCompletionEvent(Overlapped& op);
    // Waits for a transfer that ReadFile or WriteFile (which returned `started`) began, or for
    // the stop signal, which cancels it; the bytes moved before the cancel count.
    IoResult FinishTransfer(BOOL started, Overlapped& op);
    void StartLookAhead();
    void CollectLookAhead();
    void ArmLineEventWait();
    void CollectLineEvent();
    void CountLineEvent(DWORD mask);
    // Bytes the driver holds; the line errors ClearCommError reports on the way are counted.
    DWORD BytesQueued();

    UniqueHandle device_;
    const DCB stateBeforeOpen_;
    const COMMTIMEOUTS timeoutsBeforeOpen_;
    UniqueHandle stop_;
    UniqueHandle wake_;
    std::atomic<bool> stopRequested_{false};
    mutable std::mutex timeoutsMutex_;
    CommTimeouts timeouts_;

    // The reader's own.
    Overlapped lookAhead_;
    std::uint8_t lookAheadByte_ = 0;
    LookAhead lookAheadState_ = LookAhead::Idle;
    Overlapped drain_;
    Overlapped lineEvent_;
    DWORD lineEventMask_ = 0;
    bool lineEventsAvailable_ = false;
    LineCounters counters_;

    // The writer's own.
    Overlapped write_;
};

}  // namespace vortana
