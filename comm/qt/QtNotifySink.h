// The NotifySink of the Qt event loop: a QObject on the thread that calls MakeQtNotifySink (the
// user-interface thread), to which the worker threads post each notification as an event with
// QCoreApplication::postEvent. Qt keeps the order of the events posted to one object and never
// blocks the poster. The notification, with any bytes it carries, travels inside its event and
// is freed with it: after the handler, or with the object if it goes away first (Qt deletes the
// events still queued for an object when it is destroyed).
//
// Post fails only when there is no QCoreApplication or the event cannot be allocated.
// Made, given its handler and destroyed on the user-interface thread.
#pragma once

#include <memory>

#include "comm/NotifySink.h"

namespace vortana {

std::unique_ptr<NotifySink> MakeQtNotifySink();

}  // namespace vortana
