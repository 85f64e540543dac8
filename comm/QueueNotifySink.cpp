#include "comm/QueueNotifySink.h"

#include <utility>

namespace vortana {

void QueueNotifySink::SetHandler(Handler handler) {
    handler_ = std::move(handler);
}

bool QueueNotifySink::Post(Notification notification) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(notification));
    }
    posted_.notify_one();
    return true;
}

bool QueueNotifySink::TakeOne(Notification& out) {
    std::lock_guard lock(mutex_);
    if (queue_.empty())
        return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

std::size_t QueueNotifySink::DeliverPending() {
    // Only what is queued now: a handler that keeps posting cannot keep this call going.
    std::size_t queued;
    {
        std::lock_guard lock(mutex_);
        queued = queue_.size();
    }
    std::size_t delivered = 0;
    Notification n;
    while (delivered < queued && TakeOne(n)) {
        ++delivered;
        if (handler_)
            handler_(std::move(n));
    }
    return delivered;
}

std::size_t QueueNotifySink::WaitAndDeliver(std::chrono::milliseconds timeout) {
    {
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
    }
    return DeliverPending();
}

}  // namespace vortana
