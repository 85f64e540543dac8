// The line settings expressed as the Win32 device control block. Pure functions on a DCB; the
// device is touched elsewhere (Win32SerialPort). Unlike termios, the control block holds every
// setting the component has: nothing is dropped here (a driver may still refuse some).
// Safe on any thread.
#pragma once

#include <windows.h>

#include "comm/LineSettings.h"

namespace vortana {

// Speed, the flags word of DcbFlags, the flow limits, character framing and the flow and
// replacement characters from `settings`; the other members of `dcb` stay as they are.
void SetLineSettings(const LineSettings& settings, DCB& dcb);

}  // namespace vortana
