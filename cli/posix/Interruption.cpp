#include <signal.h>

#include <initializer_list>

#include "cli/Interruption.h"

namespace vortana::cli {

namespace {

void OnSignal(int signal) {
    NoteInterruption(signal);
}

}  // namespace

// SIGPIPE stays caught for the whole run: the writes that follow it fail with EPIPE instead of
// ending the process before the records are written. SA_RESTART: a signal (a second Ctrl-C
// among them) must not fail the calls that write the records, such as waiting for the log's
// lock or writing to a pipe; the port threads' waits see the signal themselves.
void CatchInterruptions() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace vortana::cli
