// The programmer-device simulator as a library: a Device served on a line (a pseudo-terminal it
// makes, or any file descriptor such as a serial device) by a thread of its own.
//
// Typical use in a test:
//     Simulator sim(SimConfig::Immediate());
//     const std::string port = sim.StartOnPty();     // the front end opens this path
//     sim.InjectFault({FaultKind::Silence});          // the next answer is not sent
//     ...drive the front end...
//     sim.WaitUntil([](const DeviceState& s) { return s.frames.size() == 2; }, 2s);
//     const DeviceState state = sim.State();          // frames, blocks, chip, header, settings
//     sim.Stop();                                     // or let the destructor do it
//
// Threads: every member may be called from any thread. The serving thread reads the line,
// feeds the Device and writes its answers, pacing the line at `baud` both ways (the device takes
// received bytes no sooner than the line could have carried them) and waiting out the device's
// work times; while it sends, received bytes wait in the line's buffer. The trace sink is
// called on the serving thread only. The device's state changes when a command arrives, before
// its answer goes out, so once a reply has been read the state shows what the command did.
//
// Errors: StartOnPty throws SimError when no pseudo-terminal can be made, and both Start
// functions throw std::logic_error when the simulator was already started. Once serving,
// nothing throws: a line that fails (EIO after a hang-up of the other side, a removed device)
// is retried every 100 ms until Stop.
//
// Lifetime: Stop (or the destructor) ends the thread and closes the line. The hang-up and
// drop-line faults close the line and end the thread by themselves; Serving() then turns false
// and HungUp() true.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/UniqueFd.h"
#include "sim/Device.h"
#include "sim/Fault.h"
#include "sim/PacedWriter.h"
#include "sim/SerialLine.h"
#include "sim/Trace.h"

namespace vortana::sim {

// A frame or block left unfinished this long is given up.
inline constexpr std::chrono::milliseconds kIncompleteTimeout{1000};
inline constexpr unsigned kDefaultBaud = 38400;

struct SimConfig {
    unsigned baud = kDefaultBaud;  // pace of the line both ways, 8N1
    bool pace = true;              // false: send and take bytes at once
    double workScale = 1.0;        // erase/program/verify times; 0: none
    bool readProtected = false;    // the chip starts read-protected
    Bytes fill;                    // the chip's contents from 0000 on (at most 64 KiB)
    std::vector<Fault> faults;     // armed before serving starts
    Trace::Sink trace;             // one line per call; empty: no trace

    // No pacing and no work time: the device answers at once (for tests).
    static SimConfig Immediate() {
        SimConfig config;
        config.pace = false;
        config.workScale = 0;
        return config;
    }
};

class Simulator {
  public:
    explicit Simulator(SimConfig config = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Makes a raw pseudo-terminal, serves its master end, and returns the slave's path.
    std::string StartOnPty();
    // Serves `line` (opened read/write, non-blocking), which the simulator then owns.
    void StartOnLine(UniqueFd line);
    // Ends serving and closes the line; waits for the thread. Does nothing the second time.
    void Stop();

    bool Serving() const { return serving_; }
    bool HungUp() const { return hungUp_; }

    // Arms a fault for the next answer it applies to.
    void InjectFault(const Fault& fault);
    // Sends `bytes` on the line as a burst of their own, outside any answer (noise the line picks
    // up, say), once the serving thread is free; the device knows nothing of them. Before the
    // start they wait for it; once serving has ended they are dropped.
    void SendRaw(Bytes bytes);
    std::size_t FaultsWaiting() const;

    // A copy of what the device has received and holds.
    DeviceState State() const;
    // Waits until `condition` holds for the device's state (checked after every change, and
    // when serving ends) or `timeout` passes; returns whether it holds.
    bool WaitUntil(const std::function<bool(const DeviceState&)>& condition,
                   std::chrono::milliseconds timeout) const;

  private:
    void Start(UniqueFd line);
    void Serve();
    // Reads what the line holds and feeds it to the device; notes when bytes came, and whether
    // the line has failed.
    std::vector<Answer> ReadLine(std::chrono::steady_clock::time_point& lastInput,
                                 bool& lineFailed);
    // Waits until `count` bytes just read could have come over the paced line.
    void AwaitLineTime(std::size_t count);
    bool Send(const std::vector<Answer>& answers);
    // The bursts SendRaw queued, as answers of their own.
    std::vector<Answer> TakeRaw();
    std::vector<Answer> Locked(const std::function<std::vector<Answer>(Device&)>& step);

    SimConfig config_;
    Trace trace_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Device device_;  // guarded by mutex_
    UniqueFd line_;
    UniqueFd heldSlave_;
    UniqueFd stop_;
    UniqueFd rawQueued_;      // readable while raw_ holds bursts
    std::vector<Bytes> raw_;  // guarded by mutex_
    std::thread thread_;
    std::atomic<bool> serving_{false};
    std::atomic<bool> hungUp_{false};
    // When the bytes received so far have all come over the paced line; serving thread only.
    std::chrono::steady_clock::time_point receivedByLine_;
};

}  // namespace vortana::sim
