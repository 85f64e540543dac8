// NotifySink: how the serial worker threads hand notifications to the thread that owns the
// component (the user-interface thread), and the notifications themselves.
//
// Post may be called from any thread, never blocks and keeps the order in which one thread
// posted; it returns false when the notification could not be queued (it is then destroyed,
// with any bytes it carried). The handler runs on the owner's thread, one notification at a
// time, in posting order. Each notification owns the bytes it carries: whoever holds it owns
// them, and they are freed with it, also when it is still queued when the sink goes away.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace vortana {

// Numbered as the component's messages: the first user message number (1024) plus 1 to 5.
enum class NotificationKind : std::uint16_t {
    DataReceived = 1025,
    LineError = 1026,
    HangupRequest = 1027,
    ModemEvent = 1028,
    SendQueueEmpty = 1029,
};

struct Notification {
    NotificationKind Kind = NotificationKind::HangupRequest;
    // LineError: the line-error flags; ModemEvent: the modem-event code; otherwise 0.
    std::uint32_t Value = 0;
    // DataReceived: the received bytes followed by one uncounted zero byte; otherwise empty.
    std::vector<std::uint8_t> Bytes;
    // Which opening of the port the posting threads belong to; set by the component.
    std::uint32_t Opening = 0;

    // DataReceived with a copy of `bytes` (at most 65535) and its terminating zero.
    // Throws std::bad_alloc when the copy cannot be made.
    static Notification Received(std::span<const std::uint8_t> bytes);
    // The count of received bytes, without the terminating zero.
    std::uint16_t ByteCount() const;
};

class NotifySink {
  public:
    using Handler = std::function<void(Notification)>;

    virtual ~NotifySink() = default;
    // Owner's thread, once, before anything is posted.
    virtual void SetHandler(Handler handler) = 0;
    // Any thread; never blocks.
    virtual bool Post(Notification notification) = 0;
};

}  // namespace vortana
