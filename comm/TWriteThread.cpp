#include "comm/TWriteThread.h"

#include <utility>

namespace vortana {

TWriteThread::TWriteThread(SerialPort& port, NotifySink& sink)
    : port_(port), sink_(sink), thread_([this] { Execute(); }) {}

TWriteThread::~TWriteThread() {
    port_.SignalStop();
    if (thread_.joinable())
        thread_.join();
}

bool TWriteThread::Queue(std::vector<std::uint8_t> request) {
    {
        std::lock_guard lock(mutex_);
        if (ended_)
            return false;
        queue_.push_back(std::move(request));
        queueEmpty_ = false;
    }
    port_.WakeWriter();
    return true;
}

bool TWriteThread::QueueEmpty() const {
    std::lock_guard lock(mutex_);
    return queueEmpty_;
}

std::optional<std::vector<std::uint8_t>> TWriteThread::TakeRequest() {
    std::lock_guard lock(mutex_);
    if (queue_.empty()) {
        queueEmpty_ = true;
        return std::nullopt;
    }
    std::vector<std::uint8_t> request = std::move(queue_.front());
    queue_.pop_front();
    return request;
}

void TWriteThread::Execute() {
    const Outcome outcome = Serve();
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        queue_.clear();
        queueEmpty_ = true;
    }
    // Only now: whoever handles the hang-up request finds Queue refusing.
    if (outcome == Outcome::Failed)
        sink_.Post(Notification{NotificationKind::HangupRequest, 0, {}});
    port_.PurgeTransmit();
}

TWriteThread::Outcome TWriteThread::Serve() {
    bool announce = true;
    for (;;) {
        std::optional<std::vector<std::uint8_t>> request = TakeRequest();
        if (!request) {
            if (announce && !sink_.Post(Notification{NotificationKind::SendQueueEmpty, 0, {}}))
                return Outcome::Failed;
            announce = false;
            const WaitResult woken = port_.WaitForWake();
            if (woken == WaitResult::Stop)
                return Outcome::Stopped;
            if (woken == WaitResult::Failed)
                return Outcome::Failed;
            continue;
        }
        if (port_.StopRequested())
            return Outcome::Stopped;
        if (const Outcome written = WriteBlock(*request); written != Outcome::Written)
            return written;
        announce = true;
    }
}

TWriteThread::Outcome TWriteThread::WriteBlock(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (port_.StopRequested())
            return Outcome::Stopped;
        const IoResult put = port_.Write(bytes.subspan(written));
        if (put.status == IoResult::Done) {
            written += put.count;
            continue;
        }
        if (put.status != IoResult::WouldBlock)
            return Outcome::Failed;
        const WaitResult ready = port_.WaitWritable();
        if (ready == WaitResult::Stop)
            return Outcome::Stopped;
        if (ready == WaitResult::Failed)
            return Outcome::Failed;
    }
    return Outcome::Written;
}

}  // namespace vortana
