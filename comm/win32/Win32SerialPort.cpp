#include "comm/win32/Win32SerialPort.h"

#include <algorithm>
#include <limits>

#include "comm/win32/Dcb.h"
#include "comm/win32/DevicePath.h"
#include "comm/win32/SystemErrors.h"

namespace vortana {
namespace {

// The driver queues asked for at the open, each way.
constexpr DWORD kQueueBytes = 4096;

// All zero: a read waits for every byte it asks for, however long, and a write never times out.
// The reader asks for one byte to wait for the line and then only for what the driver holds.
constexpr COMMTIMEOUTS kDeviceTimeouts = {0, 0, 0, 0, 0};

// What the reader waits for besides bytes: carrier-detect changes, rings, line errors, breaks.
constexpr DWORD kLineEventMask = EV_RLSD | EV_RING | EV_ERR | EV_BREAK;

// ClearCommError's flags and the counter each one advances.
constexpr struct {
    DWORD flag;
    std::uint32_t LineCounters::*counter;
} kErrorCounters[] = {
    {CE_RXOVER, &LineCounters::BufferOverrun}, {CE_OVERRUN, &LineCounters::Overrun},
    {CE_RXPARITY, &LineCounters::Parity},      {CE_FRAME, &LineCounters::Frame},
    {CE_BREAK, &LineCounters::Break},
};

DWORD ClampedCount(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, std::numeric_limits<DWORD>::max()));
}

}  // namespace

OpenResult OpenSerialPort(const std::string& commName) {
    UniqueHandle device(::CreateFileW(DevicePathForCommName(commName).c_str(),
                                      GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr));
    if (!device)
        return {nullptr, OpenError::CannotOpen, PortFailureFromWin32Error(::GetLastError())};
    // NUL and the console are character devices too, but have no comm state.
    DCB before{};
    before.DCBlength = sizeof before;
    COMMTIMEOUTS timeoutsBefore{};
    if (::GetFileType(device.Get()) != FILE_TYPE_CHAR || !::GetCommState(device.Get(), &before) ||
        !::GetCommTimeouts(device.Get(), &timeoutsBefore))
        return {nullptr, OpenError::NotACommHandle, PortFailure::NotATerminal};
    COMMTIMEOUTS deviceTimeouts = kDeviceTimeouts;  // the API takes no const
    if (!::SetupComm(device.Get(), kQueueBytes, kQueueBytes) ||
        !::SetCommTimeouts(device.Get(), &deviceTimeouts))
        return {nullptr, OpenError::CannotSetup, PortFailure::Other};
    // The driver may raise DTR and RTS on the open; the device must not see them until the line
    // settings say so. Devices without modem lines refuse, which changes nothing.
    ::EscapeCommFunction(device.Get(), CLRDTR);
    ::EscapeCommFunction(device.Get(), CLRRTS);
    return {std::make_unique<Win32SerialPort>(std::move(device), before, timeoutsBefore),
            OpenError::None, PortFailure::Other};
}

Win32SerialPort::Win32SerialPort(UniqueHandle device, const DCB& stateBeforeOpen,
                                 const COMMTIMEOUTS& timeoutsBeforeOpen)
    : device_(std::move(device)),
      stateBeforeOpen_(stateBeforeOpen),
      timeoutsBeforeOpen_(timeoutsBeforeOpen) {
    lineEventsAvailable_ = ::SetCommMask(device_.Get(), kLineEventMask) != FALSE;
}

Win32SerialPort::~Win32SerialPort() {
    // The reader may have ended with its look-ahead read or line-event wait pending: they must
    // be over before their records go. A new event mask ends the line-event wait, as Windows
    // documents it; Wine's wait ignores CancelIoEx, which ends the read.
    ::SetCommMask(device_.Get(), 0);
    ::CancelIoEx(device_.Get(), nullptr);
    for (Overlapped* op : {&lookAhead_, &lineEvent_}) {
        DWORD ignored = 0;
        if (op->pending)
            ::GetOverlappedResult(device_.Get(), &op->record, &ignored, TRUE);
    }
    ::PurgeComm(device_.Get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    DCB before = stateBeforeOpen_;
    COMMTIMEOUTS timeoutsBefore = timeoutsBeforeOpen_;
    ::SetCommState(device_.Get(), &before);
    ::SetCommTimeouts(device_.Get(), &timeoutsBefore);
}

bool Win32SerialPort::ApplyLineSettings(const LineSettings& settings) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(device_.Get(), &dcb))
        return false;
    SetLineSettings(settings, dcb);
    return ::SetCommState(device_.Get(), &dcb) != FALSE;
}

void Win32SerialPort::ApplyTimeouts(const CommTimeouts& timeouts) {
    std::lock_guard lock(timeoutsMutex_);
    timeouts_ = timeouts;
}

CommTimeouts Win32SerialPort::Timeouts() const {
    std::lock_guard lock(timeoutsMutex_);
    return timeouts_;
}

void Win32SerialPort::PurgeReceive() {
    ::PurgeComm(device_.Get(), PURGE_RXABORT | PURGE_RXCLEAR);
}

void Win32SerialPort::PurgeTransmit() {
    ::PurgeComm(device_.Get(), PURGE_TXABORT | PURGE_TXCLEAR);
}

bool Win32SerialPort::CreateCompletionEvent(Overlapped& op) {
    op.done = UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    op.record.hEvent = op.done.Get();
    return static_cast<bool>(op.done);
}

bool Win32SerialPort::CreateSignals() {
    stop_ = UniqueHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    wake_ = UniqueHandle(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    bool created = stop_ && wake_;
    for (Overlapped* op : {&lookAhead_, &drain_, &lineEvent_, &write_})
        created = CreateCompletionEvent(*op) && created;
    return created;
}

void Win32SerialPort::SignalStop() {
    stopRequested_.store(true);
    ::SetEvent(stop_.Get());  // manual reset, never reset: every later wait sees it at once
}

bool Win32SerialPort::StopRequested() const {
    return stopRequested_.load();
}

IoResult Win32SerialPort::FinishTransfer(BOOL started, Overlapped& op) {
    if (!started && ::GetLastError() != ERROR_IO_PENDING)
        return {IoResult::Failed, 0};
    if (!started) {
        const HANDLE handles[] = {stop_.Get(), op.done.Get()};
        if (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            ::CancelIoEx(device_.Get(), &op.record);
    }
    DWORD moved = 0;
    if (!::GetOverlappedResult(device_.Get(), &op.record, &moved, TRUE) &&
        ::GetLastError() != ERROR_OPERATION_ABORTED)
        return {IoResult::Failed, 0};
    return moved > 0 ? IoResult{IoResult::Done, moved} : IoResult{IoResult::WouldBlock, 0};
}

void Win32SerialPort::StartLookAhead() {
    if (::ReadFile(device_.Get(), &lookAheadByte_, 1, nullptr, &lookAhead_.record) ||
        ::GetLastError() == ERROR_IO_PENDING) {
        lookAhead_.pending = true;
        CollectLookAhead();  // a read that completed at once is collected here
        return;
    }
    lookAheadState_ = LookAhead::Failed;
}

void Win32SerialPort::CollectLookAhead() {
    DWORD got = 0;
    if (::GetOverlappedResult(device_.Get(), &lookAhead_.record, &got, FALSE)) {
        lookAhead_.pending = false;
        lookAheadState_ = got == 1 ? LookAhead::Held : LookAhead::Idle;
        return;
    }
    switch (::GetLastError()) {
        case ERROR_IO_INCOMPLETE:
            lookAheadState_ = LookAhead::Pending;
            return;
        case ERROR_OPERATION_ABORTED:  // a purge: begin again
            lookAheadState_ = LookAhead::Idle;
            break;
        default:  // the device is gone, or (Wine) the other end of a pseudo-terminal hung up
            lookAheadState_ = LookAhead::Failed;
            break;
    }
    lookAhead_.pending = false;
}

WaitResult Win32SerialPort::WaitReadable(int timeoutMs) {
    if (stopRequested_.load())
        return WaitResult::Stop;
    if (lookAheadState_ == LookAhead::Idle)
        StartLookAhead();
    if (lookAheadState_ != LookAhead::Pending)
        return WaitResult::Ready;
    // The stop signal first, then a line event before the bytes that came with it.
    HANDLE handles[3] = {stop_.Get()};
    DWORD count = 1;
    if (lineEvent_.pending)
        handles[count++] = lineEvent_.done.Get();
    handles[count++] = lookAhead_.done.Get();
    const DWORD woken = ::WaitForMultipleObjects(
        count, handles, FALSE,
        timeoutMs == kWaitForever ? INFINITE : static_cast<DWORD>(timeoutMs));
    if (woken == WAIT_OBJECT_0)
        return WaitResult::Stop;
    if (woken == WAIT_TIMEOUT)
        return WaitResult::TimedOut;
    if (woken >= WAIT_OBJECT_0 + count)
        return WaitResult::Failed;
    if (handles[woken - WAIT_OBJECT_0] == lineEvent_.done.Get()) {
        // Nothing to read yet: the reader samples the line counters after every wait.
        CollectLineEvent();
        return WaitResult::TimedOut;
    }
    CollectLookAhead();
    return lookAheadState_ == LookAhead::Idle ? WaitResult::TimedOut : WaitResult::Ready;
}

IoResult Win32SerialPort::Read(std::span<std::uint8_t> into) {
    if (lookAheadState_ == LookAhead::Failed)
        return {IoResult::Failed, 0};
    if (lookAheadState_ != LookAhead::Held || into.empty())
        return {IoResult::WouldBlock, 0};
    into[0] = lookAheadByte_;
    lookAheadState_ = LookAhead::Idle;
    const DWORD queued = std::min(BytesQueued(), ClampedCount(into.size() - 1));
    if (queued == 0)
        return {IoResult::Done, 1};
    // What the driver holds is there at once; only a purge can take it away in between, and
    // the stop signal that comes before every purge ends the wait.
    const IoResult rest = FinishTransfer(
        ::ReadFile(device_.Get(), into.data() + 1, queued, nullptr, &drain_.record), drain_);
    // A failed drain still delivers the look-ahead byte; the next look-ahead read reports it.
    return {IoResult::Done, 1 + (rest.status == IoResult::Done ? rest.count : 0)};
}

IoResult Win32SerialPort::Write(std::span<const std::uint8_t> bytes) {
    return FinishTransfer(::WriteFile(device_.Get(), bytes.data(), ClampedCount(bytes.size()),
                                      nullptr, &write_.record),
                          write_);
}

WaitResult Win32SerialPort::WaitWritable() {
    // Write itself waits until the device took the bytes; it gives back none moved only when
    // the stop signal cancelled it.
    return stopRequested_.load() ? WaitResult::Stop : WaitResult::Ready;
}

WaitResult Win32SerialPort::WaitForWake() {
    const HANDLE handles[] = {stop_.Get(), wake_.Get()};
    switch (::WaitForMultipleObjects(2, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0:
            return WaitResult::Stop;
        case WAIT_OBJECT_0 + 1:  // an auto-reset event: the wake-up is taken
            return WaitResult::Ready;
        default:
            return WaitResult::Failed;
    }
}

void Win32SerialPort::WakeWriter() {
    ::SetEvent(wake_.Get());
}

DWORD Win32SerialPort::BytesQueued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(device_.Get(), &errors, &status))
        return 0;
    for (const auto& e : kErrorCounters)
        if ((errors & e.flag) != 0)
            ++(counters_.*e.counter);
    return status.cbInQue;
}

void Win32SerialPort::CountLineEvent(DWORD mask) {
    // A wait that ends with nothing in it means the device cannot tell line events (Wine's
    // pseudo-terminals, which have no modem lines): stop asking.
    if (mask == 0)
        lineEventsAvailable_ = false;
    if ((mask & EV_RLSD) != 0)
        ++counters_.CarrierDetect;
    if ((mask & EV_RING) != 0)
        ++counters_.Ring;
    if ((mask & (EV_ERR | EV_BREAK)) != 0)
        BytesQueued();
}

void Win32SerialPort::ArmLineEventWait() {
    while (lineEventsAvailable_ && !lineEvent_.pending) {
        lineEventMask_ = 0;
        if (::WaitCommEvent(device_.Get(), &lineEventMask_, &lineEvent_.record))
            CountLineEvent(lineEventMask_);
        else if (::GetLastError() == ERROR_IO_PENDING)
            lineEvent_.pending = true;
        else
            lineEventsAvailable_ = false;
    }
}

void Win32SerialPort::CollectLineEvent() {
    DWORD ignored = 0;
    lineEvent_.pending = false;
    if (::GetOverlappedResult(device_.Get(), &lineEvent_.record, &ignored, FALSE))
        CountLineEvent(lineEventMask_);
    else
        lineEventsAvailable_ = false;
}

std::optional<LineCounters> Win32SerialPort::SampleLineCounters() {
    ArmLineEventWait();
    if (!lineEventsAvailable_)
        return std::nullopt;
    BytesQueued();  // errors count even where no line event announced them
    return counters_;
}

}  // namespace vortana
