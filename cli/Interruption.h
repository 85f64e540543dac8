// Interruption: a run stopped from outside: Ctrl-C (SIGINT), SIGTERM, the terminal closed
// (SIGHUP), the reader of standard output gone (SIGPIPE); on Windows the console's Ctrl-C, break
// and close events, counted as SIGINT, SIGINT and SIGHUP. The signal is only noted: the port
// threads see it at their next wait, send no new command, and end with the outcome
// "interrupted", so every programmer already started gets its record; the program then exits
// with 128 + the signal's number. One backend a system (cli/posix/, cli/win32/).
//
// Threads: CatchInterruptions on the main thread before any port thread starts; the others from
// any thread (and from the signal handler, which only stores the number).
#pragma once

#include <string_view>

#include "production/JobError.h"

namespace vortana::cli {

// Installs the handlers; later signals of these kinds are noted instead of ending the process.
void CatchInterruptions();

// The number of the first signal noted, or 0 while none came.
int InterruptionSignal();

// Notes `signal` as if it had come (tests), or forgets it with 0.
void SetInterruptionSignal(int signal);

// The error a job ends with once signal N was noted: JobError(128 + N, "interrupted by signal N"
// followed by `when`).
JobError InterruptionError(std::string_view when = {});

// The backends' handlers: notes `signal` unless one was noted already (a second Ctrl-C while
// the records are written changes nothing). Async-signal-safe.
void NoteInterruption(int signal);

}  // namespace vortana::cli
