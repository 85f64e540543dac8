#include "comm/TReadThread.h"

#include <algorithm>
#include <new>
#include <optional>

#include "comm/BurstTiming.h"

namespace vortana {
namespace {

// How often the line counters are sampled while no byte comes. Line events are reported this
// late at most; devices without counters are never woken for them.
constexpr int kLineSamplePeriodMs = 50;

double MsSince(std::chrono::steady_clock::time_point then) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - then)
        .count();
}

}  // namespace

TReadThread::TReadThread(SerialPort& port, NotifySink& sink) : TReadThread(port, sink, port) {}

TReadThread::TReadThread(SerialPort& port, NotifySink& sink, LineCounterSource& counters)
    : port_(port), sink_(sink), counters_(counters), buffer_(kMaxReadBytes), thread_([this] {
          Execute();
      }) {}

TReadThread::~TReadThread() {
    port_.SignalStop();
    if (thread_.joinable())
        thread_.join();
}

ReadActivity TReadThread::Activity() const {
    ReadActivity activity;
    activity.bytesRead = bytesRead_.load(std::memory_order_acquire);
    if (activity.bytesRead > 0)
        activity.lastByte = lastByte_.load(std::memory_order_relaxed);
    return activity;
}

void TReadThread::Execute() {
    std::optional<LineCounters> counters = counters_.SampleLineCounters();
    readBegan_ = Clock::now();
    for (;;) {
        int wait = WaitMs();
        if (wait == 0) {
            if (!CompleteRead())
                break;
            continue;
        }
        if (counters)
            wait = wait == kWaitForever ? kLineSamplePeriodMs : std::min(wait, kLineSamplePeriodMs);
        const WaitResult woken = port_.WaitReadable(wait);
        if (woken == WaitResult::Stop)
            break;
        if (woken == WaitResult::Failed) {
            PostHangupRequest();
            break;
        }
        // A line event goes before the bytes that came with it.
        if (counters && !ReportLineEvents(*counters))
            break;
        if (woken == WaitResult::Ready && !ReadAvailable())
            break;
    }
    port_.PurgeReceive();
}

int TReadThread::WaitMs() const {
    return ReadWaitMs(port_.Timeouts(), held_, MsSince(readBegan_),
                      MsSince(lastByte_.load(std::memory_order_relaxed)));
}

bool TReadThread::CompleteRead() {
    // A read that completes empty (a total time-out) is simply begun again.
    const bool goOn = held_ == 0 || DeliverData();
    held_ = 0;
    readBegan_ = Clock::now();
    return goOn;
}

bool TReadThread::ReadAvailable() {
    const IoResult got = port_.Read(std::span(buffer_).subspan(held_, kMaxReadBytes - held_));
    switch (got.status) {
        case IoResult::Done:
            held_ += got.count;
            lastByte_.store(Clock::now(), std::memory_order_relaxed);
            bytesRead_.fetch_add(got.count, std::memory_order_release);
            return true;
        case IoResult::WouldBlock:
            return true;
        case IoResult::EndOfFile:
        case IoResult::Failed:
            break;
    }
    // The other end hung up, or the device is gone: what came before is still delivered.
    if (held_ > 0 && !DeliverData())
        return false;
    PostHangupRequest();
    return false;
}

bool TReadThread::DeliverData() {
    std::optional<Notification> received;
    try {
        received = Notification::Received(std::span(buffer_).first(held_));
    } catch (const std::bad_alloc&) {
        PostHangupRequest();
        return false;
    }
    if (!sink_.Post(std::move(*received))) {
        PostHangupRequest();
        return false;
    }
    return true;
}

bool TReadThread::ReportLineEvents(LineCounters& last) {
    const std::optional<LineCounters> now = counters_.SampleLineCounters();
    if (!now)
        return true;
    const LineEvents events = LineEventsBetween(last, *now);
    last = *now;
    const struct {
        NotificationKind kind;
        std::uint32_t value;
    } posts[] = {
        {NotificationKind::LineError, events.ErrorFlags},
        {NotificationKind::ModemEvent, events.ModemCode},
    };
    for (const auto& post : posts) {
        if (post.value != 0 && !sink_.Post(Notification{post.kind, post.value, {}})) {
            PostHangupRequest();
            return false;
        }
    }
    return true;
}

void TReadThread::PostHangupRequest() {
    sink_.Post(Notification{NotificationKind::HangupRequest, 0, {}});
}

}  // namespace vortana
