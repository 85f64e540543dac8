// Where sysset.ini and MCUtype.txt live on Windows: beside the program when its folder takes new
// files, else in %APPDATA%\vortana, which gets the catalogue lying beside the program. Paths are
// UTF-8, so folders named in Chinese work.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "shell/FileAccess.h"
#include "shell/SettingsFolder.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

TEST(SettingsFolder, BesideTheProgramWhenItsFolderTakesFilesElseInAppData) {
    const fs::path root =
        fs::temp_directory_path() / ("vortana-settings-" + std::to_string(std::random_device()()));
    const fs::path program = root / u8"程序";
    const fs::path appData = root / u8"漫游";
    fs::create_directories(program);
    std::ofstream(program / "MCUtype.txt") << "01 VT8A-C16  C000 - FFFF  16K  0x00\r\n";
    ASSERT_EQ(::_wputenv_s(L"APPDATA", appData.wstring().c_str()), 0);

    const std::string exeDir = Utf8(program) + "/";
    const SettingsFolderFacts writable = SettingsFolderFactsOf(exeDir);
    EXPECT_TRUE(writable.exeDirWritable);
    EXPECT_EQ(SettingsFolderFor(writable), exeDir);
    EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1);  // the check left nothing

    const SettingsFolderFacts readOnly = SettingsFolderFactsOf(Utf8(root / "gone") + "/");
    EXPECT_FALSE(readOnly.exeDirWritable);
    EXPECT_EQ(readOnly.configHome, Utf8(appData));
    PrepareSettingsFolder(SettingsFolderFor(readOnly), SampleCatalogueFor(exeDir));
    EXPECT_EQ(ReadFileBytes(Utf8(appData / "vortana" / "MCUtype.txt")),
              ReadFileBytes(Utf8(program / "MCUtype.txt")));
    fs::remove_all(root);
}

}  // namespace
}  // namespace vortana
