#include "comm/qt/QtNotifySink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QtGlobal>

#include <exception>
#include <new>
#include <utility>

namespace vortana {
namespace {

const QEvent::Type kNotificationEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// postEvent hands an event to the receiving thread under Qt's own lock, which ThreadSanitizer
// cannot see, Qt not being built with it; when the receiving thread happens to be awake, nothing
// else it sees orders the two threads either. These tell it what postEvent guarantees:
// whatever the posting thread wrote before posting, the thread that handles or deletes the event
// sees. Without ThreadSanitizer they are nothing.
#if defined(__SANITIZE_THREAD__)
#define VORTANA_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VORTANA_THREAD_SANITIZER 1
#endif
#endif

#ifdef VORTANA_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
void HandingOver(void* event) {
    __tsan_release(event);
}
void TakingOver(void* event) {
    __tsan_acquire(event);
}
#else
void HandingOver(void*) {}
void TakingOver(void*) {}
#endif

class NotificationEvent : public QEvent {
  public:
    explicit NotificationEvent(Notification n)
        : QEvent(kNotificationEventType), notification(std::move(n)) {}
    // Handled or not (the receiver may go first), the event ends on the receiving thread.
    ~NotificationEvent() override { TakingOver(this); }
    Notification notification;
};

class QtNotifySink final : public QObject, public NotifySink {
  public:
    void SetHandler(Handler handler) override { handler_ = std::move(handler); }

    bool Post(Notification notification) override {
        if (QCoreApplication::instance() == nullptr)
            return false;
        NotificationEvent* event = new (std::nothrow) NotificationEvent(std::move(notification));
        if (event == nullptr)
            return false;
        HandingOver(event);
        QCoreApplication::postEvent(this, event);  // takes the event; thread-safe
        return true;
    }

  protected:
    bool event(QEvent* e) override {
        TakingOver(e);  // before its type is read; for an event not posted by a worker, nothing
        if (e->type() != kNotificationEventType)
            return QObject::event(e);
        auto* posted = static_cast<NotificationEvent*>(e);
        if (!handler_)
            return true;
        // No exception may unwind through Qt's event dispatch. The owner's handlers report
        // their own errors; one that escapes anyway is logged here rather than end the program.
        try {
            handler_(std::move(posted->notification));
        } catch (const std::exception& error) {
            qCritical("serial notification handler failed: %s", error.what());
        } catch (...) {
            qCritical("serial notification handler failed");
        }
        return true;
    }

  private:
    Handler handler_;
};

}  // namespace

std::unique_ptr<NotifySink> MakeQtNotifySink() {
    return std::make_unique<QtNotifySink>();
}

}  // namespace vortana
