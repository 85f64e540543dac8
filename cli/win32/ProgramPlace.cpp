#include "cli/ProgramPlace.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>

namespace vortana::cli {

std::string ExecutableFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return "./";
    const std::u8string folder = std::filesystem::path(path).parent_path().u8string() + u8"\\";
    return std::string(folder.begin(), folder.end());
}

bool OutputIsTerminal() {
    return ::_isatty(::_fileno(stdout)) != 0;
}

}  // namespace vortana::cli
