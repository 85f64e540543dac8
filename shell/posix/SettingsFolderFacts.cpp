// The settings folder's facts on POSIX: access(2) on the executable's folder, the XDG
// configuration folder, and the sample catalogue under share/ of the installed program.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "shell/SettingsFolder.h"

namespace vortana {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

SettingsFolderFacts SettingsFolderFactsOf(const std::string& exeDir) {
    return {.exeDir = exeDir,
            .exeDirWritable = ::access(exeDir.c_str(), W_OK) == 0,
            .configHome = Environment("XDG_CONFIG_HOME"),
            .home = Environment("HOME")};
}

std::string SampleCatalogueFor(const std::string& exeDir) {
    namespace fs = std::filesystem;
    return (fs::path(exeDir) / ".." / "share" / "vortana" / "MCUtype.txt")
        .lexically_normal()
        .string();
}

}  // namespace vortana
