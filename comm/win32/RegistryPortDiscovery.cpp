// FindPresentPorts on Windows: the COM ports the serial drivers announce under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, one value a port whose data is its name ("COM3"). USB
// facts are not looked up here (the device tree's setup API would have them). The roots of
// PortDiscoveryRoots are the Linux side's and have no meaning here.
#include <windows.h>

#include "comm/PortDiscovery.h"

namespace vortana {
namespace {

constexpr wchar_t kSerialCommKey[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr DWORD kLongestName = 256;  // characters of a value name or of its data

std::string Utf8(const wchar_t* text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.pop_back();  // the closing zero
    return utf8;
}

}  // namespace

std::vector<PortInfo> FindPresentPorts(const PortDiscoveryRoots&) {
    std::vector<PortInfo> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialCommKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;  // no serial driver has announced a port
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[kLongestName];
        DWORD valueNameLength = kLongestName;
        wchar_t data[kLongestName] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t);  // room left for a closing zero
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, valueName, &valueNameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const std::string name = Utf8(data);
        ports.push_back(PortInfo{name, "\\\\.\\" + name, {}, {}, {}, {}, {}, {}});
    }
    ::RegCloseKey(key);
    return ports;
}

}  // namespace vortana
