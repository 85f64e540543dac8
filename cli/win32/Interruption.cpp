#include <windows.h>

#include <csignal>

#include "cli/Interruption.h"

namespace vortana::cli {

namespace {

constexpr int kSignalHangUp = 1;  // SIGHUP's number on POSIX systems; Windows has none

// Runs on a thread the system starts. TRUE: handled, the process goes on (after a close event
// the system still ends it a few seconds later, time enough for the records).
BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            NoteInterruption(SIGINT);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            NoteInterruption(kSignalHangUp);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void CatchInterruptions() {
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace vortana::cli
