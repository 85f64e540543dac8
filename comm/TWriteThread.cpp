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
    bool announce = true;
    for (;;) {
        std::optional<std::vector<std::uint8_t>> request = TakeRequest();
        if (!request) {
            if (announce && !sink_.Post(Notification{NotificationKind::SendQueueEmpty, 0, {}})) {
                PostHangupRequest();
                break;
            }
            announce = false;
            const WaitResult woken = port_.WaitForWake();
            if (woken == WaitResult::Stop)
                break;
            if (woken == WaitResult::Failed) {
                PostHangupRequest();
                break;
            }
            continue;
        }
        if (port_.StopRequested() || !WriteBlock(*request))
            break;
        announce = true;
    }
    {
        std::lock_guard lock(mutex_);
        ended_ = true;
        queue_.clear();
        queueEmpty_ = true;
    }
    port_.PurgeTransmit();
}

bool TWriteThread::WriteBlock(std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (port_.StopRequested())
            return false;
        const IoResult put = port_.Write(bytes.subspan(written));
        if (put.status == IoResult::Done) {
            written += put.count;
            continue;
        }
        if (put.status != IoResult::WouldBlock) {
            PostHangupRequest();
            return false;
        }
        const WaitResult ready = port_.WaitWritable();
        if (ready == WaitResult::Stop)
            return false;
        if (ready == WaitResult::Failed) {
            PostHangupRequest();
            return false;
        }
    }
    return true;
}

void TWriteThread::PostHangupRequest() {
    sink_.Post(Notification{NotificationKind::HangupRequest, 0, {}});
}

}  // namespace vortana
