// TWriteThread: the writer of an open TComm. Takes write requests from its own locked queue, in
// the order they were queued, and writes each one whole before it takes the next. Posts
// SendQueueEmpty when it first finds the queue empty, and again each time the queue runs dry
// after a write.
//
// Ends, after discarding the device's transmit side, when the stop signal is given (also in the
// middle of a write: the rest of that request and every queued one are dropped; nothing is
// posted), and by itself, with a HangupRequest, when a write, a wait or a post fails. From its
// end on Queue refuses, already when the HangupRequest is handled.
//
// Queue and QueueEmpty: the owner's thread. The queue takes requests from the moment the object
// is made; the thread starts then too (the constructor throws std::system_error when no thread
// can be made). The destructor gives the stop signal and waits for the thread to end.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "comm/NotifySink.h"
#include "comm/SerialPort.h"

namespace vortana {

class TWriteThread {
  public:
    TWriteThread(SerialPort& port, NotifySink& sink);
    ~TWriteThread();
    TWriteThread(const TWriteThread&) = delete;
    TWriteThread& operator=(const TWriteThread&) = delete;

    // Takes ownership of `request` (1 to 65535 bytes); false once the writer has ended.
    bool Queue(std::vector<std::uint8_t> request);
    // True when no request is queued or being written.
    bool QueueEmpty() const;

  private:
    // How serving the queue, or writing one request, ended.
    enum class Outcome { Written, Stopped, Failed };

    void Execute();
    Outcome Serve();
    std::optional<std::vector<std::uint8_t>> TakeRequest();
    Outcome WriteBlock(std::span<const std::uint8_t> bytes);

    SerialPort& port_;
    NotifySink& sink_;
    mutable std::mutex mutex_;  // guards the three below
    std::deque<std::vector<std::uint8_t>> queue_;
    bool queueEmpty_ = true;
    bool ended_ = false;
    std::thread thread_;  // last: starts once everything above exists
};

}  // namespace vortana
