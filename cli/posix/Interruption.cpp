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
// ending the process before the records are written.
void CatchInterruptions() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::sigaction(signal, &action, nullptr);
}

}  // namespace vortana::cli
