// PortIdentity: which device a port name (TComm's CommName) stands for, so that two names of one
// device ("COM1" and "/dev/ttyS0", "/dev/pts/3" and a link to it) are told from two devices.
// The key is equal for two names exactly when they name the same device as far as the system can
// tell without opening it:
//   - POSIX: the path the name stands for (comm/posix/DevicePath.h), compared by stat where it
//     exists (a character device by its device numbers, any other file by itself), links
//     followed; a path that does not exist by its own lexically normal form;
//   - Windows: the normalised COM name: the device namespace's prefix dropped, upper case
//     ("com3", "COM3" and "\\.\COM3" are one).
// The key is for comparison only, not for showing. Nothing is opened. Any thread.
#pragma once

#include <string>

namespace vortana {

std::string PortIdentity(const std::string& commName);

}  // namespace vortana
