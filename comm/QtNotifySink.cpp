#include "comm/QtNotifySink.h"

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

class NotificationEvent : public QEvent {
  public:
    explicit NotificationEvent(Notification n)
        : QEvent(kNotificationEventType), notification(std::move(n)) {}
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
        QCoreApplication::postEvent(this, event);  // takes the event; thread-safe
        return true;
    }

  protected:
    bool event(QEvent* e) override {
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
