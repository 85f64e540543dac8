// What the Win32 errors of opening a comm device tell the user: the reason a port could not be
// opened. Windows keeps a COM port to one opener and refuses every other with "access denied"
// (a sharing violation where a driver says so); a port that is not there is "file not found".
// Pure; safe on any thread.
#pragma once

#include "comm/PortFailure.h"

namespace vortana {

// `error` is GetLastError's value after CreateFile failed.
PortFailure PortFailureFromWin32Error(unsigned long error);

}  // namespace vortana
