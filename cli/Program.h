// Program: the whole command-line program behind its thin main: the command line read, the
// command run, errors turned into exit statuses and messages. Tests call it in-process.
//
// Output: results and progress on `out`; usage errors and failures on `err` (as a final "end"
// object on `out` with --json). Threads: the calling thread, plus the job's port threads.
//
// Exit status: the command's, then checked once more at the end: 128 + N when signal N was noted
// at any time (cli/Interruption.h); file-refused when `out` did not take everything written to
// it and the run had not failed otherwise (the failure is told on `err` either way).
#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>

#include "comm/PortDiscovery.h"

namespace vortana::cli {

struct ProgramEnvironment {
    std::string exeDir;     // the program's folder, ending in "/": the default catalogue's place
    bool terminal = false;  // `out` is a terminal
    PortDiscoveryRoots
        portRoots{};  // where the ports are looked up: the system's, or a test's tree
    // The operator's commands between the rounds of a shift (standard input); none: they ended.
    std::istream* in = nullptr;
};

// The exit status, as the ExitStatus table numbers it.
int RunProgram(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
               const ProgramEnvironment& environment);

}  // namespace vortana::cli
