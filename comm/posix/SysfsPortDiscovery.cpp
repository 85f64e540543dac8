// FindPresentPorts on Linux: the entries of sysfs's tty class that have a device with a driver
// (USB adapters, on-board and platform UARTs; not the virtual consoles or pseudo-terminals),
// without the serial8250 ports the kernel sets up but found no UART for (type 0), with the USB
// attributes of the first parent device that has a vendor id, and the by-id link udev made.
#include <algorithm>
#include <filesystem>
#include <map>

#include "comm/PortDiscovery.h"
#include "comm/posix/Sysfs.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

// serial_core's "type" of a port with no UART behind it (PORT_UNKNOWN).
constexpr const char* kUnknownPortType = "0";

bool IsSerialDevice(const fs::path& ttyEntry) {
    std::error_code error;
    if (!fs::exists(ttyEntry / "device" / "driver", error))
        return false;
    return ReadSysfsAttribute(ttyEntry / "type") != kUnknownPortType;
}

std::string Attribute(const fs::path& folder, const char* name) {
    return ReadSysfsAttribute(folder / name).value_or("");
}

// Walks up from the tty's device to the USB device that carries idVendor, within sysfs.
void ReadUsbAttributes(const fs::path& ttyEntry, const fs::path& sysRoot, PortInfo& port) {
    std::error_code deviceError;
    std::error_code rootError;
    fs::path folder = fs::canonical(ttyEntry / "device", deviceError);
    const fs::path top = fs::canonical(sysRoot, rootError);
    if (deviceError || rootError)
        return;
    std::error_code error;
    for (; folder.has_relative_path() && folder != top; folder = folder.parent_path()) {
        if (!fs::exists(folder / "idVendor", error))
            continue;
        port.vendorId = Attribute(folder, "idVendor");
        port.productId = Attribute(folder, "idProduct");
        port.manufacturer = Attribute(folder, "manufacturer");
        port.product = Attribute(folder, "product");
        port.serialNumber = Attribute(folder, "serial");
        return;
    }
}

// The entries of `folder`, none when it cannot be read; never throws.
std::vector<fs::path> Entries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator();
         it.increment(error))
        entries.push_back(it->path());
    return entries;
}

// Device path -> the first (by name) by-id link that resolves to it.
std::map<fs::path, std::string> ByIdLinks(const fs::path& devRoot) {
    std::map<fs::path, std::string> links;
    for (const fs::path& link : Entries(devRoot / "serial" / "by-id")) {
        std::error_code error;
        const fs::path target = fs::weakly_canonical(link, error);
        if (error)
            continue;
        auto [it, added] = links.emplace(target, link.string());
        if (!added)
            it->second = std::min(it->second, link.string());
    }
    return links;
}

}  // namespace

std::vector<PortInfo> FindPresentPorts(const PortDiscoveryRoots& roots) {
    std::vector<PortInfo> ports;
    const std::map<fs::path, std::string> byId = ByIdLinks(roots.dev);
    for (const fs::path& entry : Entries(fs::path(roots.sys) / "class" / "tty")) {
        if (!IsSerialDevice(entry))
            continue;
        PortInfo port;
        port.name = entry.filename().string();
        port.path = (fs::path(roots.dev) / port.name).string();
        std::error_code unresolved;
        if (const auto link = byId.find(fs::weakly_canonical(port.path, unresolved));
            !unresolved && link != byId.end())
            port.byIdPath = link->second;
        ReadUsbAttributes(entry, roots.sys, port);
        ports.push_back(std::move(port));
    }
    return ports;
}

}  // namespace vortana
