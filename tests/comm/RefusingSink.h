// RefusingSink: a QueueNotifySink whose Post can be made to fail, for tests of what the worker
// threads do when a notification cannot be handed over. While refusing, Post drops the
// notification (and the bytes it carries) and returns false; otherwise it queues as its base
// does. SetRefusing and Post may be called from any thread.
#pragma once

#include <atomic>
#include <utility>

#include "comm/QueueNotifySink.h"

namespace vortana::test {

class RefusingSink : public QueueNotifySink {
  public:
    bool Post(Notification notification) override {
        if (refusing_.load())
            return false;
        return QueueNotifySink::Post(std::move(notification));
    }
    void SetRefusing(bool refuse) { refusing_.store(refuse); }

  private:
    std::atomic<bool> refusing_{false};
};

}  // namespace vortana::test
