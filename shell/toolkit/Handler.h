// The one adapter through which every event handler is run from a Qt signal or event.
//
// Qt is built without exception support, so no exception may cross one of its frames. RunHandler
// runs a handler and catches whatever it leaves uncaught (a conversion error, a file error,
// anything else): the handler stops where it threw and Desktop::HandleException shows the
// standard error box. Code that calls a handler directly (setting a radio group's index, for
// instance) calls it without the adapter, so an error goes on up to the handler that started it,
// as it would in any nested call.
#pragma once

#include <QObject>
#include <exception>
#include <utility>

#include "shell/toolkit/Desktop.h"

namespace vortana {

template <typename Handler>
void RunHandler(Desktop& desktop, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        desktop.HandleException(error.what());
    } catch (...) {
        desktop.HandleException("Unknown error");
    }
}

// Connects `signal` of `sender` to the member handler of `receiver` through RunHandler; the
// signal's arguments are not passed on.
template <typename Sender, typename Signal, typename Receiver>
QMetaObject::Connection ConnectHandler(Desktop& desktop, Sender* sender, Signal signal,
                                       Receiver* receiver, void (Receiver::*handler)()) {
    return QObject::connect(sender, signal, receiver, [&desktop, receiver, handler] {
        RunHandler(desktop, [&] { (receiver->*handler)(); });
    });
}

}  // namespace vortana
