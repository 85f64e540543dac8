// QueueNotifySink: a NotifySink without an event loop, for owners that run their own (tests,
// benchmarks, command-line tools). Worker threads post into a locked queue; the owner's thread
// hands the queued notifications to the handler when it calls DeliverPending or WaitAndDeliver.
//
// Post: any thread, never blocks (an unbounded queue), always true. Delivery: the owner's thread
// only; the handler runs outside the lock, so it may post, deliver (a nested loop) or close the
// port. Notifications still queued when the sink is destroyed are freed with it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include "comm/NotifySink.h"

namespace vortana {

class QueueNotifySink : public NotifySink {
  public:
    void SetHandler(Handler handler) override;
    bool Post(Notification notification) override;

    // Hands every notification queued so far to the handler, in order; returns how many.
    std::size_t DeliverPending();
    // Waits up to `timeout` for a first notification, then delivers as DeliverPending does.
    std::size_t WaitAndDeliver(std::chrono::milliseconds timeout);

  private:
    bool TakeOne(Notification& out);

    Handler handler_;
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Notification> queue_;
};

}  // namespace vortana
