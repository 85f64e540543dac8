// ports: the serial devices present, with what the system knows of each.
#include "cli/Commands.h"
#include "cli/Text.h"
#include "comm/PortDiscovery.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kNameColumn = 12;

std::string PortLine(const PortInfo& port) {
    std::string line = PadColumns(port.name, kNameColumn) + port.path;
    if (!port.byIdPath.empty())
        line += "  " + port.byIdPath;
    if (const std::string hint = port.Hint(); !hint.empty())
        line += "  " + hint;
    return line;
}

std::string PortObject(const PortInfo& port) {
    return "{\"event\":\"port\",\"name\":" + JsonString(port.name) +
           ",\"path\":" + JsonString(port.path) + ",\"by_id\":" + JsonString(port.byIdPath) +
           ",\"vendor_id\":" + JsonString(port.vendorId) +
           ",\"product_id\":" + JsonString(port.productId) +
           ",\"manufacturer\":" + JsonString(port.manufacturer) +
           ",\"product\":" + JsonString(port.product) +
           ",\"serial_number\":" + JsonString(port.serialNumber) + "}";
}

class Ports : public Command {
  public:
    std::string_view Name() const override { return "ports"; }
    std::string_view Usage() const override { return "ports"; }
    std::string_view Summary() const override {
        return "Lists the serial devices present: name for --port, device, by-id name, USB "
               "maker, product, ids and serial number where known.";
    }
    std::span<const OptionSpec> Grammar() const override { return {}; }

    ExitStatus Run(const Invocation& invocation) const override {
        for (const PortInfo& port : DiscoverPorts(invocation.portRoots))
            invocation.out << (invocation.json ? PortObject(port) : PortLine(port)) << "\n";
        return ExitStatus::Success;
    }
};

}  // namespace

const Command& PortsCommand() {
    static const Ports command;
    return command;
}

}  // namespace vortana::cli
