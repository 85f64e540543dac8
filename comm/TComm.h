// TComm: one serial device, its line settings as properties, two worker threads that move its
// bytes, and the events through which it reports them.
//
// Threads: every operation and property accessor is called on the user-interface thread, and
// every event is raised there, in the order the worker threads posted it. Opening starts a
// reader (TReadThread) and a writer (TWriteThread); they reach the component only through
// its NotifySink, and the component reaches them only through the stop signal and the writer's
// request queue.
// OnRequestHangup is raised only for the port as it is open now: a request posted before a
// ClosePort is dropped, also when the port has been opened again since.
//
// Errors: OpenPort alone raises, with ECommsError, and leaves the component closed with every
// handle and thread it had made released (except "already opened", which touches nothing).
// ClosePort never raises. SendBytes reports failure only by returning false.
//
// Ownership: the component owns the device, the stop signal, the sink and both threads. Each
// buffer handed between threads is a heap copy owned by whoever holds the notification or
// request that carries it. Call ClosePort before destroying an open component; the destructor
// closes a port left open rather than leave its threads running on a freed component.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "comm/LineSettings.h"
#include "comm/NotifySink.h"
#include "comm/PortFailure.h"
#include "comm/TReadThread.h"

namespace vortana {

class TComm;
class SerialPort;
class TWriteThread;

// Raised by OpenPort: its message is one of the fixed failure texts; Reason tells why the device
// could not be opened where the system says so (Other for every failure after the open).
class ECommsError : public std::runtime_error {
  public:
    explicit ECommsError(const std::string& message, PortFailure reason = PortFailure::Other)
        : std::runtime_error(message), reason_(reason) {}
    PortFailure Reason() const { return reason_; }

  private:
    PortFailure reason_;
};

// Buffer holds BufferLength received bytes followed by one uncounted zero byte; it is valid only
// while the handler runs.
using TReceiveDataEvent =
    std::function<void(TComm* Sender, const void* Buffer, std::uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TComm* Sender, std::uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TComm* Sender, std::uint32_t ModemEvent)>;
using TSendDataEmptyEvent = std::function<void(TComm* Sender)>;
using TNotifyEvent = std::function<void(TComm* Sender)>;

class TComm {
  public:
    // Sets the property defaults; the device stays closed. `sink` carries the worker threads'
    // notifications to this component's thread (MakeQtNotifySink for the Qt event loop).
    explicit TComm(std::unique_ptr<NotifySink> sink);
    ~TComm();
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    void OpenPort();   // raises ECommsError
    void ClosePort();  // harmless when closed
    // Copies Count bytes and queues them for the writer; never waits for the line.
    bool SendBytes(const void* Buffer, std::uint16_t Count);
    bool IsOpen() const;
    // True when no write request is queued or being written (also while closed).
    bool SendQueueEmpty() const;
    // What the reader has read since the port was opened (TReadThread.h); nothing while closed.
    // Once OnReceiveData has carried bytesRead bytes since the open, no byte is on its way.
    ReadActivity ReceiveActivity() const;

    // Properties. A setter given the stored value does nothing; a new value of a line property
    // re-applies the line settings while open, one of a time-out property the time-outs.
    // CommName and Parity are plain stores, used at the next open (Parity also at the next
    // re-application of the line settings).
    const std::string& CommName() const;
    void SetCommName(const std::string& Value);
    std::uint32_t BaudRate() const;
    void SetBaudRate(std::uint32_t Value);
    bool ParityCheck() const;
    void SetParityCheck(bool Value);
    bool Outx_CtsFlow() const;
    void SetOutx_CtsFlow(bool Value);
    bool Outx_DsrFlow() const;
    void SetOutx_DsrFlow(bool Value);
    TDtrControl DtrControl() const;
    void SetDtrControl(TDtrControl Value);
    bool DsrSensitivity() const;
    void SetDsrSensitivity(bool Value);
    bool TxContinueOnXoff() const;
    void SetTxContinueOnXoff(bool Value);
    bool Outx_XonXoffFlow() const;
    void SetOutx_XonXoffFlow(bool Value);
    bool Inx_XonXoffFlow() const;
    void SetInx_XonXoffFlow(bool Value);
    bool ReplaceWhenParityError() const;
    void SetReplaceWhenParityError(bool Value);
    bool IgnoreNullChar() const;
    void SetIgnoreNullChar(bool Value);
    TRtsControl RtsControl() const;
    void SetRtsControl(TRtsControl Value);
    std::uint16_t XonLimit() const;
    void SetXonLimit(std::uint16_t Value);
    std::uint16_t XoffLimit() const;
    void SetXoffLimit(std::uint16_t Value);
    TByteSize ByteSize() const;
    void SetByteSize(TByteSize Value);
    TParity Parity() const;
    void SetParity(TParity Value);
    TStopBits StopBits() const;
    void SetStopBits(TStopBits Value);
    std::uint8_t XonChar() const;
    void SetXonChar(std::uint8_t Value);
    std::uint8_t XoffChar() const;
    void SetXoffChar(std::uint8_t Value);
    std::uint8_t ReplacedChar() const;
    void SetReplacedChar(std::uint8_t Value);
    std::uint32_t ReadIntervalTimeout() const;
    void SetReadIntervalTimeout(std::uint32_t Value);
    std::uint32_t ReadTotalTimeoutMultiplier() const;
    void SetReadTotalTimeoutMultiplier(std::uint32_t Value);
    std::uint32_t ReadTotalTimeoutConstant() const;
    void SetReadTotalTimeoutConstant(std::uint32_t Value);
    std::uint32_t WriteTotalTimeoutMultiplier() const;
    void SetWriteTotalTimeoutMultiplier(std::uint32_t Value);
    std::uint32_t WriteTotalTimeoutConstant() const;
    void SetWriteTotalTimeoutConstant(std::uint32_t Value);

    // Events; an empty function means no handler.
    TReceiveDataEvent OnReceiveData;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TNotifyEvent OnRequestHangup;
    TSendDataEmptyEvent OnSendDataEmpty;

  private:
    void ApplyLineSettings();
    void ApplyTimeouts();
    void StopReader();
    void StopWriter();
    [[noreturn]] void FailOpen(const char* message);
    void HandleNotification(Notification notification);
    template <typename T>
    void SetLineProperty(T LineSettings::*field, T value);
    void SetTimeoutProperty(std::uint32_t CommTimeouts::*field, std::uint32_t value);

    // Destroyed bottom-up: the threads before the port they use, the sink last.
    std::unique_ptr<NotifySink> sink_;
    std::unique_ptr<SerialPort> port_;         // set exactly while open
    std::uint32_t opening_ = 0;                // moves on at every open and close
    std::unique_ptr<NotifySink> openingSink_;  // the threads' way to sink_, stamped with opening_
    std::unique_ptr<TReadThread> reader_;
    std::unique_ptr<TWriteThread> writer_;
    std::string commName_ = "COM2";
    LineSettings line_;
    CommTimeouts timeouts_;
};

}  // namespace vortana
