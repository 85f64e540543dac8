// UsbPortName: a programmer named by the serial number of its USB adapter, "usb:A10K3Z1Q", so
// that it is found whatever name the system gave it this time (ttyUSB0 today, ttyUSB3 after a
// replug; COM5 or COM7 on Windows). The serial number is compared exactly, case included: USB
// serial strings are case-sensitive. (Windows keeps them in upper case in its device tree, so
// there the name must be given as `vortana-cli ports` shows it.)
//
// The lookup reads nothing itself: it takes the ports DiscoverPorts found, so that one look at the
// system serves every name of a run. Pure; any thread.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "comm/PortDiscovery.h"

namespace vortana {

inline constexpr std::string_view kUsbPortPrefix = "usb:";

// True for a name that starts with "usb:" (in lower case), whatever follows.
bool IsUsbPortName(std::string_view name);

// The serial number a usb: name gives: what follows the prefix.
std::string_view UsbSerialOf(std::string_view name);

struct UsbPortMatch {
    std::optional<PortInfo> port;  // the one port whose adapter carries the serial number
    std::string failure;           // why there is none, when there is none
};

// The port among `present` whose USB serial number is the one `name` gives. Fails when none
// carries it ("no programmer with USB serial A10K3Z1Q is plugged in"), or when several do (some
// adapters share one), naming them all; a name without a serial number never matches.
UsbPortMatch FindUsbPort(std::string_view name, std::span<const PortInfo> present);

}  // namespace vortana
