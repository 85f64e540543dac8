#include "comm/posix/Sysfs.h"

#include <algorithm>
#include <fstream>

namespace vortana {
namespace {

// sysfs hands out at most one page per attribute.
constexpr std::size_t kAttributeLimit = 4096;

}  // namespace

std::optional<std::string> ReadSysfsAttribute(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text(kAttributeLimit, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad())
        return std::nullopt;
    text.resize(static_cast<std::size_t>(file.gcount()));
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
    text.erase(std::find_if_not(text.rbegin(), text.rend(), [](char c) { return c == ' '; }).base(),
               text.end());
    return text;
}

}  // namespace vortana
