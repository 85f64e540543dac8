// How a port name (TComm's CommName) names a device on this system:
//   - a name containing "/" is a device path, used as it is;
//   - "COM1", "COM2", ... (any case, no leading zero) are the first, second, ... on-board serial
//     ports /dev/ttyS0, /dev/ttyS1, ...;
//   - any other name X means /dev/X ("ttyUSB0" is /dev/ttyUSB0).
// Pure; safe on any thread.
#pragma once

#include <string>

namespace vortana {

std::string DevicePathForCommName(const std::string& commName);

}  // namespace vortana
