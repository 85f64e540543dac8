#include "comm/UsbPortName.h"

#include <vector>

namespace vortana {
namespace {

// "ttyUSB0", "ttyUSB0 and ttyUSB3", "ttyUSB0, ttyUSB3 and ttyUSB5".
std::string NamesText(const std::vector<const PortInfo*>& ports) {
    std::string text;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (i > 0)
            text += i + 1 == ports.size() ? " and " : ", ";
        text += ports[i]->name;
    }
    return text;
}

}  // namespace

bool IsUsbPortName(std::string_view name) {
    return name.starts_with(kUsbPortPrefix);
}

std::string_view UsbSerialOf(std::string_view name) {
    return name.substr(kUsbPortPrefix.size());
}

UsbPortMatch FindUsbPort(std::string_view name, std::span<const PortInfo> present) {
    const std::string serial(UsbSerialOf(name));
    std::vector<const PortInfo*> carriers;
    for (const PortInfo& port : present)
        if (!serial.empty() && port.serialNumber == serial)
            carriers.push_back(&port);
    if (carriers.empty())
        return {std::nullopt, "no programmer with USB serial " + serial + " is plugged in"};
    if (carriers.size() > 1)
        return {std::nullopt, "USB serial " + serial + " is carried by " + NamesText(carriers) +
                                  ": name these programmers by their ports"};
    return {*carriers.front(), {}};
}

}  // namespace vortana
