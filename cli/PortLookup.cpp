#include "cli/PortLookup.h"

#include <algorithm>
#include <map>

#include "comm/PortIdentity.h"
#include "comm/UsbPortName.h"

namespace vortana::cli {
namespace {

bool AnyUsbName(std::span<const std::string> ports) {
    return std::any_of(ports.begin(), ports.end(),
                       [](const std::string& port) { return IsUsbPortName(port); });
}

FoundPort LookUp(const std::string& port, std::span<const PortInfo> present) {
    if (!IsUsbPortName(port))
        return {port, {}, {}};
    UsbPortMatch match = FindUsbPort(port, present);
    if (!match.port)
        return {{}, {}, std::move(match.failure)};
    return {match.port->path, match.port->name, {}};
}

}  // namespace

std::vector<FoundPort> LookUpPorts(std::span<const std::string> ports,
                                   const PortDiscoveryRoots& roots) {
    const std::vector<PortInfo> present =
        AnyUsbName(ports) ? DiscoverPorts(roots) : std::vector<PortInfo>{};
    std::vector<FoundPort> found;
    std::map<std::string, std::size_t> claimed;  // a device's identity, the first port found at it
    for (std::size_t i = 0; i < ports.size(); ++i) {
        FoundPort place = LookUp(ports[i], present);
        if (place.failure.empty()) {
            const auto [first, added] = claimed.emplace(PortIdentity(place.device), i);
            if (!added)
                place.failure = "--port " + PortLabel(ports[i], place.foundAt) + " and --port " +
                                PortLabel(ports[first->second], found[first->second].foundAt) +
                                " are the same device: one job per programmer";
        }
        found.push_back(std::move(place));
    }
    return found;
}

std::string PortLabel(const std::string& port, const std::string& foundAt) {
    return foundAt.empty() ? port : port + " (" + foundAt + ")";
}

}  // namespace vortana::cli
