// TReadThread: the reader of an open TComm. Collects the bytes of each burst (until the read
// time-outs complete the read, see BurstTiming.h) and posts them as one DataReceived; samples
// the line counters while it waits and posts LineError and ModemEvent when they change.
//
// Ends, after discarding the device's receive side, when the stop signal is given (nothing more
// is posted), and by itself, with a HangupRequest, when the other end hangs up (a read returns
// no bytes; the bytes of the burst so far are delivered first), when the device or a wait fails,
// or when a copy cannot be made or posted. It never touches the component or closes anything.
//
// Made and destroyed on the owner's thread; the thread starts when the object is made (its
// constructor throws std::system_error when no thread can be made). The destructor gives the
// stop signal (harmless when given already) and waits for the thread to end. Activity may be
// called from any thread while the object lives.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "comm/LineCounters.h"
#include "comm/NotifySink.h"
#include "comm/SerialPort.h"

namespace vortana {

// What the reader has read from the device so far. A burst's bytes are held until the burst ends,
// so they are read well before any DataReceived carries them: an owner that counts the bytes its
// DataReceived notifications carried knows from this, exactly, whether bytes are on their way.
struct ReadActivity {
    std::uint64_t bytesRead = 0;  // since the reader started
    // When the last of them was read; nullopt while none was. Never older than the read that
    // brought bytesRead to its value.
    std::optional<std::chrono::steady_clock::time_point> lastByte;
};

class TReadThread {
  public:
    TReadThread(SerialPort& port, NotifySink& sink);
    // With line counters from elsewhere than the device (tests).
    TReadThread(SerialPort& port, NotifySink& sink, LineCounterSource& counters);
    ~TReadThread();
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

    ReadActivity Activity() const;

  private:
    using Clock = std::chrono::steady_clock;

    void Execute();
    int WaitMs() const;
    bool CompleteRead();
    bool ReadAvailable();
    bool DeliverData();
    bool ReportLineEvents(LineCounters& last);
    void PostHangupRequest();

    SerialPort& port_;
    NotifySink& sink_;
    LineCounterSource& counters_;
    // Working state of the thread body alone.
    std::vector<std::uint8_t> buffer_;
    std::size_t held_ = 0;
    Clock::time_point readBegan_;
    // Written by the thread body alone, read by Activity from any thread: the time first, then
    // the count (release), so a count read (acquire) comes with a time at least as new.
    std::atomic<Clock::time_point> lastByte_{};
    std::atomic<std::uint64_t> bytesRead_{0};
    std::thread thread_;  // last: starts once everything above exists
};

}  // namespace vortana
