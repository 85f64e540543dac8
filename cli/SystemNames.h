// SystemNames: the name of the computer the program runs on and the login name of the user who
// runs it, the default station and operator of the records (the log, --json results). UTF-8;
// empty when the system does not tell. One backend a system (cli/posix/, cli/win32/), picked by
// the build. Any thread.
#pragma once

#include <string>

namespace vortana::cli {

std::string HostName();
std::string LoginName();

}  // namespace vortana::cli
