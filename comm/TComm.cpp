#include "comm/TComm.h"

#include <new>
#include <utility>

#include "comm/SerialPort.h"
#include "comm/TReadThread.h"
#include "comm/TWriteThread.h"

namespace vortana {
namespace {

// OpenPort's failures. Owners tell them apart by these texts, so they stay exactly as they are
// (the blank after "handle" included).
constexpr const char* kAlreadyOpened = "This serial port already opened";
constexpr const char* kCannotOpen = "Error opening serial port";
constexpr const char* kNotACommHandle = "File handle is not a comm handle ";
constexpr const char* kCannotSetup = "Cannot setup comm buffer";
constexpr const char* kCannotCreateEvent = "Unable to create event";
constexpr const char* kCannotCreateReader = "Unable to create read thread";
constexpr const char* kCannotCreateWriter = "Unable to create write thread";

const char* OpenErrorMessage(OpenError error) {
    switch (error) {
        case OpenError::CannotOpen:
            return kCannotOpen;
        case OpenError::NotACommHandle:
            return kNotACommHandle;
        case OpenError::CannotSetup:
        case OpenError::None:
            break;
    }
    return kCannotSetup;
}

// Stamps each notification with the opening whose threads post it, so that one posted before a
// close can be told from those of a port opened after it. Post is as thread-safe as the sink's.
class OpeningSink final : public NotifySink {
  public:
    OpeningSink(NotifySink& sink, std::uint32_t opening) : sink_(sink), opening_(opening) {}
    void SetHandler(Handler) override {}
    bool Post(Notification notification) override {
        notification.Opening = opening_;
        return sink_.Post(std::move(notification));
    }

  private:
    NotifySink& sink_;
    const std::uint32_t opening_;
};

}  // namespace

TComm::TComm(std::unique_ptr<NotifySink> sink) : sink_(std::move(sink)) {
    if (!sink_)
        throw std::invalid_argument("TComm needs a notification sink");
    sink_->SetHandler([this](Notification n) { HandleNotification(std::move(n)); });
}

TComm::~TComm() {
    ClosePort();
}

bool TComm::IsOpen() const {
    return port_ != nullptr;
}

bool TComm::SendQueueEmpty() const {
    return !writer_ || writer_->QueueEmpty();
}

ReadActivity TComm::ReceiveActivity() const {
    return reader_ ? reader_->Activity() : ReadActivity{};
}

void TComm::FailOpen(const char* message) {
    port_.reset();
    throw ECommsError(message);
}

void TComm::OpenPort() {
    if (IsOpen())
        throw ECommsError(kAlreadyOpened);
    OpenResult opened = OpenSerialPort(commName_);
    if (!opened.port)
        throw ECommsError(OpenErrorMessage(opened.error), opened.failure);
    port_ = std::move(opened.port);
    port_->PurgeTransmit();
    port_->PurgeReceive();
    ApplyTimeouts();  // time-outs first, then the line settings
    ApplyLineSettings();
    if (!port_->CreateSignals())
        FailOpen(kCannotCreateEvent);
    try {
        openingSink_ = std::make_unique<OpeningSink>(*sink_, ++opening_);
        reader_ = std::make_unique<TReadThread>(*port_, *openingSink_);
    } catch (const std::exception&) {  // std::system_error: no thread; std::bad_alloc
        FailOpen(kCannotCreateReader);
    }
    try {
        writer_ = std::make_unique<TWriteThread>(*port_, *openingSink_);
    } catch (const std::exception&) {
        StopReader();
        FailOpen(kCannotCreateWriter);
    }
}

void TComm::ClosePort() {
    if (!IsOpen())
        return;
    // This order is what lets both threads end without a hang-up request: each finds the stop
    // signal before it sees the purge that ended its pending read or write.
    StopReader();
    StopWriter();
    openingSink_.reset();
    port_.reset();
    ++opening_;  // what the threads posted is no longer about the port
}

void TComm::StopReader() {
    if (!reader_)
        return;
    port_->SignalStop();
    port_->PurgeReceive();
    reader_.reset();  // waits for the thread to end
}

void TComm::StopWriter() {
    if (!writer_)
        return;
    port_->SignalStop();
    port_->PurgeTransmit();
    writer_.reset();  // waits for the thread; drops what was still queued
}

bool TComm::SendBytes(const void* Buffer, std::uint16_t Count) {
    if (!writer_ || Count == 0 || Buffer == nullptr)
        return false;
    const auto* bytes = static_cast<const std::uint8_t*>(Buffer);
    try {
        return writer_->Queue(std::vector<std::uint8_t>(bytes, bytes + Count));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void TComm::HandleNotification(Notification n) {
    switch (n.Kind) {
        case NotificationKind::DataReceived:
            // The copy goes when `n` does, after the handler, whether or not one is set.
            if (OnReceiveData)
                OnReceiveData(this, n.Bytes.data(), n.ByteCount());
            break;
        case NotificationKind::LineError:
            if (OnReceiveError)
                OnReceiveError(this, n.Value);
            break;
        case NotificationKind::HangupRequest:
            // Only the threads of the port open now speak for it.
            if (OnRequestHangup && n.Opening == opening_)
                OnRequestHangup(this);
            break;
        case NotificationKind::ModemEvent:
            if (OnModemStateChange)
                OnModemStateChange(this, n.Value);
            break;
        case NotificationKind::SendQueueEmpty:
            if (OnSendDataEmpty)
                OnSendDataEmpty(this);
            break;
    }
}

void TComm::ApplyLineSettings() {
    // The result tells whether the device took everything; a refused setting is dropped and
    // the port stays open, so a line that takes the settings that matter still works.
    port_->ApplyLineSettings(line_);
}

void TComm::ApplyTimeouts() {
    port_->ApplyTimeouts(timeouts_);
}

template <typename T>
void TComm::SetLineProperty(T LineSettings::*field, T value) {
    if (line_.*field == value)
        return;
    line_.*field = value;
    if (IsOpen())
        ApplyLineSettings();
}

void TComm::SetTimeoutProperty(std::uint32_t CommTimeouts::*field, std::uint32_t value) {
    if (timeouts_.*field == value)
        return;
    timeouts_.*field = value;
    if (IsOpen())
        ApplyTimeouts();
}

// CommName and Parity are plain stores: used at the next open (Parity also at the next
// re-application of the line settings).
const std::string& TComm::CommName() const {
    return commName_;
}
void TComm::SetCommName(const std::string& Value) {
    commName_ = Value;
}
TParity TComm::Parity() const {
    return line_.Parity;
}
void TComm::SetParity(TParity Value) {
    line_.Parity = Value;
}

#define VORTANA_LINE_PROPERTY(Type, Name)            \
    Type TComm::Name() const {                       \
        return line_.Name;                           \
    }                                                \
    void TComm::Set##Name(Type Value) {              \
        SetLineProperty(&LineSettings::Name, Value); \
    }
#define VORTANA_TIMEOUT_PROPERTY(Name)                  \
    std::uint32_t TComm::Name() const {                 \
        return timeouts_.Name;                          \
    }                                                   \
    void TComm::Set##Name(std::uint32_t Value) {        \
        SetTimeoutProperty(&CommTimeouts::Name, Value); \
    }

VORTANA_LINE_PROPERTY(std::uint32_t, BaudRate)
VORTANA_LINE_PROPERTY(bool, ParityCheck)
VORTANA_LINE_PROPERTY(bool, Outx_CtsFlow)
VORTANA_LINE_PROPERTY(bool, Outx_DsrFlow)
VORTANA_LINE_PROPERTY(TDtrControl, DtrControl)
VORTANA_LINE_PROPERTY(bool, DsrSensitivity)
VORTANA_LINE_PROPERTY(bool, TxContinueOnXoff)
VORTANA_LINE_PROPERTY(bool, Outx_XonXoffFlow)
VORTANA_LINE_PROPERTY(bool, Inx_XonXoffFlow)
VORTANA_LINE_PROPERTY(bool, ReplaceWhenParityError)
VORTANA_LINE_PROPERTY(bool, IgnoreNullChar)
VORTANA_LINE_PROPERTY(TRtsControl, RtsControl)
VORTANA_LINE_PROPERTY(std::uint16_t, XonLimit)
VORTANA_LINE_PROPERTY(std::uint16_t, XoffLimit)
VORTANA_LINE_PROPERTY(TByteSize, ByteSize)
VORTANA_LINE_PROPERTY(TStopBits, StopBits)
VORTANA_LINE_PROPERTY(std::uint8_t, XonChar)
VORTANA_LINE_PROPERTY(std::uint8_t, XoffChar)
VORTANA_LINE_PROPERTY(std::uint8_t, ReplacedChar)
VORTANA_TIMEOUT_PROPERTY(ReadIntervalTimeout)
VORTANA_TIMEOUT_PROPERTY(ReadTotalTimeoutMultiplier)
VORTANA_TIMEOUT_PROPERTY(ReadTotalTimeoutConstant)
VORTANA_TIMEOUT_PROPERTY(WriteTotalTimeoutMultiplier)
VORTANA_TIMEOUT_PROPERTY(WriteTotalTimeoutConstant)

#undef VORTANA_LINE_PROPERTY
#undef VORTANA_TIMEOUT_PROPERTY

}  // namespace vortana
