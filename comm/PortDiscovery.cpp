#include "comm/PortDiscovery.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace vortana {
namespace {

void AppendWord(std::string& line, const std::string& word) {
    if (word.empty())
        return;
    if (!line.empty())
        line += ' ';
    line += word;
}

// A name split as "ttyS" and 10; names without a number end have none (-1 sorts them first).
std::tuple<std::string, long long> StemAndNumber(const std::string& name) {
    const auto digits = std::find_if_not(name.rbegin(), name.rend(), [](char c) {
                            return std::isdigit(static_cast<unsigned char>(c));
                        }).base();
    const std::string number(digits, name.end());
    // More digits than a long long holds are no port number; such a name sorts as text.
    if (number.empty() || number.size() > 18)
        return {name, -1};
    return {std::string(name.begin(), digits), std::stoll(number)};
}

}  // namespace

std::string PortInfo::Hint() const {
    std::string line;
    AppendWord(line, manufacturer);
    AppendWord(line, product);
    if (!vendorId.empty() || !productId.empty())
        AppendWord(line, "(" + vendorId + ":" + productId + ")");
    if (!serialNumber.empty())
        AppendWord(line, "SN " + serialNumber);
    return line;
}

std::vector<PortInfo> DiscoverPorts(const PortDiscoveryRoots& roots) {
    std::vector<PortInfo> ports = FindPresentPorts(roots);
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return PortNameLess(a.name, b.name); });
    return ports;
}

bool PortNameLess(const std::string& a, const std::string& b) {
    return std::tuple(StemAndNumber(a), a) < std::tuple(StemAndNumber(b), b);
}

}  // namespace vortana
