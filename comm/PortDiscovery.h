// PortDiscovery: the serial devices present on this machine, for a port list or a listing, with
// what the system knows of each (USB ids and strings, a stable by-id name). The names are the
// short ones a port name (TComm's CommName) takes. The backend decides where the facts come
// from; on Linux from sysfs and /dev, whose roots can be given so that a fake tree in a test
// folder serves as well. Nothing is opened. Any thread; reads the file system on each call.
#pragma once

#include <string>
#include <vector>

namespace vortana {

struct PortInfo {
    std::string name;      // the short name the port box takes: "ttyUSB0", "ttyACM0", "ttyS0"
    std::string path;      // "/dev/ttyUSB0"
    std::string byIdPath;  // a /dev/serial/by-id/ link resolving to it, or empty
    std::string vendorId, productId;                  // USB idVendor/idProduct, or empty
    std::string manufacturer, product, serialNumber;  // USB strings, or empty

    // One line for a tooltip or a listing: "FTDI FT232R USB UART (0403:6001) SN A10K3Z1Q";
    // empty when nothing is known of the device.
    std::string Hint() const;
};

struct PortDiscoveryRoots {
    std::string sys = "/sys";
    std::string dev = "/dev";
};

// Sorted by name, numbers in names compared by value (ttyS2 before ttyS10).
std::vector<PortInfo> DiscoverPorts(const PortDiscoveryRoots& roots = {});

// The backend's part of DiscoverPorts: the ports present, in no particular order.
std::vector<PortInfo> FindPresentPorts(const PortDiscoveryRoots& roots);

// The order DiscoverPorts lists names in.
bool PortNameLess(const std::string& a, const std::string& b);

}  // namespace vortana
