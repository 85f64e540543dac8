// Connection: one programmer on one serial port, claimed when the object is made and released
// when it is destroyed. It sets the line up as the window does (38400 8N1, DTR and RTS off, no
// flow control) and hands the device's bursts over one at a time, a burst being what the serial
// component delivers after 100 ms of silence (the burst gap).
//
// Replies carry nothing that ties them to their command, so a command may only go out on a quiet
// line: LetLineGoQuiet, before each command, drops what came unasked and waits out bytes still
// arriving. The serial component holds a burst's bytes until the gap has passed, so the
// connection counts the bytes handed to it against those the component has read
// (TComm::ReceiveActivity) to know whether any are on their way.
//
// Errors: the constructor throws JobError(PortFailure) when the port cannot be opened, with the
// reason and what to do about it (for permission, joining the dialout group); NextBurst throws it
// when the line goes away (the adapter unplugged, the other end hung up); Send and every wait
// (NextBurst, LetLineGoQuiet, StaysQuietFor, each at least every 100 ms) throw
// JobError(Interrupted) once a signal has stopped the run (cli/Interruption.h).
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
    // Before a command: drops what arrived and was not yet taken; when a byte came within the
    // last burst gap, waits until a whole gap has passed without one, dropping what comes
    // meanwhile. Returns how long it waited: exactly zero, without a pause, when the line was
    // quiet already. Throws JobError(DeviceFailure) when the line has not gone quiet within 2 s.
    std::chrono::milliseconds LetLineGoQuiet();
    // True when no burst waits to be taken, no byte is on its way and none came within the last
    // burst gap. Does not wait.
    bool IsQuiet() const;
    // Waits until `span` has passed since the last byte received: true when no byte came after
    // those already handed over; false as soon as one does (it stays for NextBurst).
    bool StaysQuietFor(std::chrono::milliseconds span);
    // The next burst, or nullopt when `deadline` passes first.
    std::optional<Burst> NextBurst(Deadline deadline);

  private:
    // How long until the line counts as quiet, bursts waiting to be taken aside: zero when it
    // does.
    std::chrono::milliseconds UntilQuiet() const;
    // Hands over what the serial component posts within `timeout`, after a look for a signal.
    void Await(std::chrono::milliseconds timeout);

    std::string port_;
    QueueNotifySink* sink_;  // owned by comm_
    TComm comm_;
    std::deque<Burst> received_;
    std::uint64_t delivered_ = 0;  // bytes handed to this connection since the open
    bool lost_ = false;
};

}  // namespace vortana::cli
