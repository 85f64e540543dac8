// DeviceCheck: whether a path names a terminal device that may be opened as a serial line,
// decided from its device numbers and sysfs WITHOUT opening it (opening some devices has effects
// of its own: a watchdog starts counting). Allowed are the character devices that a tty driver
// registered (sysfs lists them in its tty class with these numbers) and the pseudo-terminals;
// the controlling-terminal alias /dev/tty, the console, the pty master multiplexer and the
// virtual consoles are terminals but no serial line. Where sysfs cannot tell, the name is
// refused. Also: the reason a failed system call gives for a port that cannot be opened.
// Pure apart from stat and sysfs reads; safe on any thread.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "comm/PortFailure.h"

namespace vortana {

struct DeviceCheck {
    std::optional<PortFailure> refusal;  // why the path may not be opened; nothing when it may
    dev_t device = 0;                    // the device numbers it names, when it may be opened
};

// `sysRoot` is where sysfs is mounted ("/sys"). Follows symbolic links, as open would.
DeviceCheck CheckSerialDevice(const std::string& path, const std::string& sysRoot);

// After the open: the descriptor is still the device that CheckSerialDevice allowed (the path
// was not swapped in between).
bool IsCheckedDevice(int fd, dev_t device);

// The reason behind an errno of stat, open or flock on a serial device.
PortFailure PortFailureFromErrno(int error);

}  // namespace vortana
