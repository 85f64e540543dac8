// Records what a TComm raises, driving its QueueNotifySink as the user-interface thread would.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "comm/QueueNotifySink.h"
#include "comm/TComm.h"

namespace vortana::test {

// Delivers the notifications `sink` receives until `done` holds or `timeout` passes; returns
// `done()`.
bool PumpUntil(QueueNotifySink& sink, const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Waits, delivering nothing, until the reader of `comm` has read `bytes` bytes in all or `timeout`
// passes; returns whether it has.
bool WaitUntilRead(const TComm& comm, std::size_t bytes,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5));

struct CommEvent {
    NotificationKind kind;
    std::vector<std::uint8_t> bytes;  // OnReceiveData
    // OnReceiveError, OnModemStateChange; for OnReceiveData the byte after the counted ones
    std::uint32_t value = 0;
};

class CommEvents {
  public:
    // Sets all five handlers of `comm`, whose sink is `sink`.
    CommEvents(TComm& comm, QueueNotifySink& sink);

    // Delivers notifications until `done` holds or `timeout` passes; returns `done()`.
    bool PumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Delivers notifications for `period`.
    void PumpFor(std::chrono::milliseconds period);

    std::size_t Count(NotificationKind kind) const;
    std::vector<std::uint8_t> Received() const;             // all received bytes, joined
    std::vector<std::vector<std::uint8_t>> Bursts() const;  // each OnReceiveData's bytes
    std::vector<std::size_t> BurstSizes() const;
    const std::vector<CommEvent>& All() const { return events_; }
    void Clear() { events_.clear(); }

  private:
    QueueNotifySink& sink_;
    std::vector<CommEvent> events_;
};

// The line settings of the main window's instance: 38400 8N1, no flow control (XON and XOFF
// would otherwise be taken out of binary data), DTR and RTS held inactive.
LineSettings MainWindowSettings();

// A TComm on a QueueNotifySink, with the line settings of the main window's instance: 38400
// 8N1, no flow control (XON and XOFF would otherwise be taken out of binary data), DTR and RTS
// held inactive.
struct RecordedComm {
    explicit RecordedComm(const std::string& commName);

    // Opens the port and waits for the one OnSendDataEmpty that follows every open, then forgets
    // it; false when that never came (OpenPort's ECommsError passes through).
    bool OpenAndSettle();
    bool Send(const std::vector<std::uint8_t>& bytes);
    // Delivers notifications until `count` bytes in all were received; false if they never were.
    bool ReceivedCount(std::size_t count);

    QueueNotifySink* sink;
    std::unique_ptr<TComm> comm;
    std::unique_ptr<CommEvents> events;
};

}  // namespace vortana::test
