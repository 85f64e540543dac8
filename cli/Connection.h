// Connection: one programmer on one serial port, claimed when the object is made and released
// when it is destroyed. It sets the line up as the window does (38400 8N1, DTR and RTS off, no
// flow control) and hands the device's bursts over one at a time, a burst being what the serial
// component delivers after 100 ms of silence.
//
// Errors: the constructor throws JobError(PortFailure) when the port cannot be opened, with the
// reason and what to do about it (for permission, joining the dialout group); NextBurst throws it
// when the line goes away (the adapter unplugged, the other end hung up); Send and NextBurst
// throw JobError(Interrupted) once a signal has stopped the run (cli/Interruption.h).
//
// Threads: one thread makes, uses and destroys a connection; different connections may live on
// different threads at once. The serial component's own reader and writer threads post into a
// queue that this thread drains while it waits.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "comm/QueueNotifySink.h"
#include "comm/TComm.h"

namespace vortana::cli {

using Burst = std::vector<std::uint8_t>;
using Deadline = std::chrono::steady_clock::time_point;

class Connection {
  public:
    explicit Connection(const std::string& port);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& Port() const { return port_; }

    // Queues `bytes` for the line (at most 65535); returns at once.
    void Send(std::span<const std::uint8_t> bytes);
    // Drops bursts received and not yet taken: a new command starts.
    void DropReceived();
    // The next burst, or nullopt when `deadline` passes first.
    std::optional<Burst> NextBurst(Deadline deadline);

  private:
    std::string port_;
    QueueNotifySink* sink_;  // owned by comm_
    TComm comm_;
    std::deque<Burst> received_;
    bool lost_ = false;
};

}  // namespace vortana::cli
