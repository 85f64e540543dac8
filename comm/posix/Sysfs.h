// Reading sysfs: an attribute's value as one line of text. The root folder ("/sys" on a running
// system) is given by the caller, so a fake tree in a test folder reads the same way.
// Pure file reads; safe on any thread.
#pragma once

#include <optional>
#include <string>

namespace vortana {

// The attribute file's text without its trailing line end and blanks, control characters
// turned into blanks; nothing when the file cannot be read.
std::optional<std::string> ReadSysfsAttribute(const std::string& path);

}  // namespace vortana
