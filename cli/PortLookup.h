// PortLookup: where each --port of a job run is found, looked up at the run's start so that every
// run (every round of a loop) finds its programmers afresh: a name stands for itself; a
// usb:SERIAL name (comm/UsbPortName.h) for the port whose adapter carries that serial number now,
// under whatever name it was plugged in. The system is looked at once a run, and only when a usb:
// name is given.
//
// A port that cannot run fails alone, and before anything is sent: a usb: name that finds no
// port or several, and a port that leads to the device an earlier port (in --port order) leads
// to already. Qt-free; the run's thread, before the port threads start.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "comm/PortDiscovery.h"

namespace vortana::cli {

struct FoundPort {
    std::string device;   // what the connection opens: the name, or the port a usb: name found
    std::string foundAt;  // the short name a usb: name found ("ttyUSB3"); empty for other names
    std::string failure;  // why the port cannot run; empty when it can
};

// One for each of `ports`, in their order.
std::vector<FoundPort> LookUpPorts(std::span<const std::string> ports,
                                   const PortDiscoveryRoots& roots);

// The port as given, and where a usb: name was found: "usb:A10K3Z1Q (ttyUSB3)".
std::string PortLabel(const std::string& port, const std::string& foundAt);

}  // namespace vortana::cli
