#include "shell/SettingsFolder.h"

#include <filesystem>

#include "shell/FileAccess.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

constexpr char kFolderName[] = "vortana/";
constexpr char kCatalogueFile[] = "MCUtype.txt";

// Paths are UTF-8 in this program; a std::filesystem::path made from a plain string would read
// it in the system's code page on Windows.
fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace

std::string SettingsFolderFor(const SettingsFolderFacts& facts) {
    if (facts.exeDirWritable)
        return facts.exeDir;
    // A relative configuration folder names no fixed folder (it would move with the working
    // folder), so it counts as unset, as desktop programs treat it.
    if (PathOf(facts.configHome).is_absolute())
        return Utf8Of(PathOf(facts.configHome) / kFolderName);
    return Utf8Of(PathOf(facts.home) / ".config" / kFolderName);
}

void PrepareSettingsFolder(const std::string& folder, const std::string& sampleCatalogue) {
    std::error_code error;
    fs::create_directories(PathOf(folder), error);
    if (error)
        throw EFileError("Cannot create folder", folder, error.value());
    const fs::path catalogue = PathOf(folder) / kCatalogueFile;
    if (!fs::exists(catalogue, error) && fs::exists(PathOf(sampleCatalogue), error))
        ReplaceFileAtomically(Utf8Of(catalogue), ReadFileBytes(sampleCatalogue));
}

}  // namespace vortana
