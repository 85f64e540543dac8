// Where the command-line program runs: the folder its executable lies in, and whether its
// standard output is a terminal (a console on Windows). One backend a system (cli/posix/,
// cli/win32/), picked by the build. Any thread.
#pragma once

#include <string>

namespace vortana::cli {

// The folder, ending in the system's separator; "./" when the system does not say.
std::string ExecutableFolder();
bool OutputIsTerminal();

}  // namespace vortana::cli
