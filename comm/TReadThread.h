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
// stop signal (harmless when given already) and waits for the thread to end.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "comm/LineCounters.h"
#include "comm/NotifySink.h"
#include "comm/SerialPort.h"

namespace vortana {

class TReadThread {
  public:
    TReadThread(SerialPort& port, NotifySink& sink);
    // With line counters from elsewhere than the device (tests).
    TReadThread(SerialPort& port, NotifySink& sink, LineCounterSource& counters);
    ~TReadThread();
    TReadThread(const TReadThread&) = delete;
    TReadThread& operator=(const TReadThread&) = delete;

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
    Clock::time_point lastByte_;
    std::thread thread_;  // last: starts once everything above exists
};

}  // namespace vortana
