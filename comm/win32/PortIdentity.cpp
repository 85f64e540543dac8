#include "comm/PortIdentity.h"

#include <windows.h>

#include <filesystem>
#include <string_view>

#include "comm/win32/DevicePath.h"

namespace vortana {
namespace {

// The prefixes of the Win32 device namespace and of the paths given to the system as they are.
constexpr std::wstring_view kNamespacePrefixes[] = {L"\\\\.\\", L"\\\\?\\"};

}  // namespace

std::string PortIdentity(const std::string& commName) {
    std::wstring name = DevicePathForCommName(commName);
    for (const std::wstring_view prefix : kNamespacePrefixes)
        if (name.starts_with(prefix))
            name.erase(0, prefix.size());
    ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    const std::u8string utf8 = std::filesystem::path(name).u8string();
    return {utf8.begin(), utf8.end()};
}

}  // namespace vortana
