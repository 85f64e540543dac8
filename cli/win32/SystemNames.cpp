#include "cli/SystemNames.h"

#include <windows.h>

namespace vortana::cli {
namespace {

std::string Utf8(const wchar_t* text, DWORD length) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), size,
                              nullptr, nullptr);
    return utf8;
}

}  // namespace

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;  // in: the room; out: the characters, no null
    return ::GetComputerNameW(name, &length) ? Utf8(name, length) : std::string();
}

std::string LoginName() {
    wchar_t name[257];   // the longest user name (256) and its null
    DWORD length = 257;  // in: the room; out: the characters with the null
    return ::GetUserNameW(name, &length) && length > 0 ? Utf8(name, length - 1) : std::string();
}

}  // namespace vortana::cli
