// The settings folder's facts on Windows. Whether the executable's folder may be written is found
// by making a file there (deleted as it is closed): _access asks only the read-only attribute,
// while C:\Program Files is kept from users by its access rights. The configuration folder is
// %APPDATA%, read wide, since a user's name may hold any character.
#include <windows.h>

#include <cstdlib>
#include <filesystem>

#include "shell/SettingsFolder.h"

namespace vortana {
namespace {

std::wstring Wide(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

std::string Environment(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    if (value == nullptr)
        return "";
    const std::u8string utf8 = std::filesystem::path(value).u8string();
    return std::string(utf8.begin(), utf8.end());
}

bool MayMakeFilesIn(const std::string& folder) {
    const std::wstring probe =
        Wide(folder) + L"vortana-write-check-" + std::to_wstring(::GetCurrentProcessId());
    const HANDLE file =
        ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

}  // namespace

SettingsFolderFacts SettingsFolderFactsOf(const std::string& exeDir) {
    return {.exeDir = exeDir,
            .exeDirWritable = MayMakeFilesIn(exeDir),
            .configHome = Environment(L"APPDATA"),
            .home = Environment(L"USERPROFILE")};
}

std::string SampleCatalogueFor(const std::string& exeDir) {
    return exeDir + "MCUtype.txt";
}

}  // namespace vortana
