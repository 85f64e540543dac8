// The line the simulator serves: a pseudo-terminal it creates, or a serial device it opens.
// Both are put in raw mode (no echo, no line editing, no translation: a canonical-mode pty
// drops bytes past 4095 a line) at 38400 8N1, non-blocking and close-on-exec.
//
// Errors: SimError with a message naming the path and the system's reason.
// Qt-free; safe on any thread.
#pragma once

#include <stdexcept>
#include <string>

#include "base/UniqueFd.h"

namespace vortana::sim {

class SimError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct PtyLine {
    UniqueFd master;  // the device's end
    // Held open by the simulator itself, so the front end may close and reopen the slave
    // without the master seeing a hang-up (EIO and POLLHUP once the last opener has gone).
    UniqueFd slave;
    std::string slavePath;
};

PtyLine OpenPtyLine();

// A serial device such as /dev/ttyUSB0; refuses a file that is not a terminal.
UniqueFd OpenSerialDevice(const std::string& path);

}  // namespace vortana::sim
