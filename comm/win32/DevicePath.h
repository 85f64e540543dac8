// How a port name (TComm's CommName) names a device on Windows:
//   - a name containing "\" is a device path, used as it is ("\\.\COM12", "\\?\...");
//   - any other name is a device of the Win32 device namespace: "COM7" is \\.\COM7, which is
//     the only spelling that reaches COM10 and above, and "CNCA0" is \\.\CNCA0.
// The result is UTF-16 for CreateFileW; the name is read as UTF-8. Pure; safe on any thread.
#pragma once

#include <string>

namespace vortana {

std::wstring DevicePathForCommName(const std::string& commName);

}  // namespace vortana
