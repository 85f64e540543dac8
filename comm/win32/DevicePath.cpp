#include "comm/win32/DevicePath.h"

#include <windows.h>

namespace vortana {
namespace {

constexpr std::wstring_view kDeviceNamespace = L"\\\\.\\";

std::wstring Utf16(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::wstring DevicePathForCommName(const std::string& commName) {
    const std::wstring name = Utf16(commName);
    if (name.find(L'\\') != std::wstring::npos)
        return name;
    return std::wstring(kDeviceNamespace) + name;
}

}  // namespace vortana
