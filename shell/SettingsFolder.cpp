#include "shell/SettingsFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "shell/FileAccess.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

constexpr char kFolderName[] = "vortana/";
constexpr char kCatalogueFile[] = "MCUtype.txt";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string SettingsFolderFor(const SettingsFolderFacts& facts) {
    if (facts.exeDirWritable)
        return facts.exeDir;
    // A relative XDG_CONFIG_HOME names no fixed folder (it would move with the working folder), so
    // it counts as unset, as desktop programs treat it.
    if (!facts.xdgConfigHome.empty() && facts.xdgConfigHome.front() == '/')
        return (fs::path(facts.xdgConfigHome) / kFolderName).string();
    return (fs::path(facts.home) / ".config" / kFolderName).string();
}

SettingsFolderFacts SettingsFolderFactsOf(const std::string& exeDir) {
    return {.exeDir = exeDir,
            .exeDirWritable = ::access(exeDir.c_str(), W_OK) == 0,
            .xdgConfigHome = Environment("XDG_CONFIG_HOME"),
            .home = Environment("HOME")};
}

std::string SampleCatalogueFor(const std::string& exeDir) {
    return (fs::path(exeDir) / ".." / "share" / "vortana" / kCatalogueFile)
        .lexically_normal()
        .string();
}

void PrepareSettingsFolder(const std::string& folder, const std::string& sampleCatalogue) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw EFileError("Cannot create folder", folder, error.value());
    const fs::path catalogue = fs::path(folder) / kCatalogueFile;
    if (!fs::exists(catalogue, error) && fs::exists(sampleCatalogue, error))
        ReplaceFileAtomically(catalogue.string(), ReadFileBytes(sampleCatalogue));
}

}  // namespace vortana
