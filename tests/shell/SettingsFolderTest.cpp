// Where sysset.ini and MCUtype.txt live: beside the executable when it may write there, else in
// the user's configuration folder, which gets the sample catalogue on first use.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/FileAccess.h"
#include "shell/SettingsFolder.h"

namespace vortana {
namespace {

TEST(SettingsFolder, BesideTheProgramWhenWritableElseTheUsersConfigurationFolder) {
    SettingsFolderFacts facts{.exeDir = "/opt/v/bin/",
                              .exeDirWritable = true,
                              .configHome = "/home/u/.cfg",
                              .home = "/home/u"};
    EXPECT_EQ(SettingsFolderFor(facts), "/opt/v/bin/");
    facts.exeDirWritable = false;
    EXPECT_EQ(SettingsFolderFor(facts), "/home/u/.cfg/vortana/");
    facts.configHome = "relative/cfg";  // not absolute: ignored
    EXPECT_EQ(SettingsFolderFor(facts), "/home/u/.config/vortana/");
    facts.configHome = "";
    EXPECT_EQ(SettingsFolderFor(facts), "/home/u/.config/vortana/");
    EXPECT_EQ(SampleCatalogueFor("/usr/bin/"), "/usr/share/vortana/MCUtype.txt");
}

TEST(SettingsFolder, GetsTheSampleCatalogueOnceAndKeepsTheUsersOwn) {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/vortana-config-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path root = pattern;
    const std::string sample = (root / "MCUtype-sample.txt").string();
    std::ofstream(sample) << "01 VT8A-C16             C000 - FFFF         16K       0x00\r\n";
    const std::string folder = (root / "config/vortana/").string();

    PrepareSettingsFolder(folder, sample);
    EXPECT_EQ(ReadFileBytes(folder + "MCUtype.txt"), ReadFileBytes(sample));
    std::ofstream(folder + "MCUtype.txt") << "the user's own";
    PrepareSettingsFolder(folder, sample);
    EXPECT_EQ(ReadFileBytes(folder + "MCUtype.txt"), "the user's own");
    // A sample that is not there leaves the folder without a catalogue, and no error.
    const std::string other = (root / "other/").string();
    PrepareSettingsFolder(other, (root / "missing.txt").string());
    EXPECT_TRUE(fs::is_directory(other));
    EXPECT_FALSE(fs::exists(other + "MCUtype.txt"));
    // A folder that cannot be made is told.
    EXPECT_THROW(PrepareSettingsFolder(sample + "/vortana/", sample), EFileError);
    fs::remove_all(root);
}

}  // namespace
}  // namespace vortana
