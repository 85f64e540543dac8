#include "comm/posix/DevicePath.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vortana {
namespace {

constexpr std::string_view kComPrefix = "COM";

// n for "COMn" with n >= 1 written without a leading zero; nothing for any other name.
std::optional<std::uint32_t> ComNumber(std::string_view name) {
    if (name.size() <= kComPrefix.size())
        return std::nullopt;
    const bool prefixMatches =
        std::equal(kComPrefix.begin(), kComPrefix.end(), name.begin(),
                   [](char a, char b) { return a == std::toupper(static_cast<unsigned char>(b)); });
    const std::string_view digits = name.substr(kComPrefix.size());
    if (!prefixMatches || digits.front() == '0')
        return std::nullopt;
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return number;
}

}  // namespace

std::string DevicePathForCommName(const std::string& commName) {
    if (commName.find('/') != std::string::npos)
        return commName;
    if (const auto number = ComNumber(commName))
        return "/dev/ttyS" + std::to_string(*number - 1);
    return "/dev/" + commName;
}

}  // namespace vortana
