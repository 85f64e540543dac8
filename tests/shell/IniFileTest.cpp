#include "shell/IniFile.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "shell/FileAccess.h"
#include "shell/IniText.h"
#include "tests/support/ReadOnlyPath.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;

// A fresh directory for one test, removed with everything in it afterwards.
class IniFileTest : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vortana-ini-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }

    std::string Get(const std::string& name) const { return ReadFileBytes(PathOf(name)); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(IniFileTest, ReadingGivesTheDefaultAndNeverCreatesTheFile) {
    const IniFile ini(PathOf("sysset.ini"));
    EXPECT_EQ(ini.ReadString("comx", "num", "COM5"), "COM5");
    EXPECT_TRUE(Names().empty());

    Put("sysset.ini", "[comx]\r\nnum=COM7\r\n");
    EXPECT_EQ(ini.ReadString("comx", "num", "COM5"), "COM7");
    EXPECT_EQ(ini.ReadString("comx", "baud", "38400"), "38400");

    fs::create_directory(PathOf("dir.ini"));  // unreadable as a file: the default as well
    EXPECT_EQ(IniFile(PathOf("dir.ini")).ReadString("comx", "num", "COM5"), "COM5");
}

TEST_F(IniFileTest, WritingCreatesOrChangesOneValueAndLeavesNothingBeside) {
    const IniFile ini(PathOf("sysset.ini"));
    ini.WriteString("comx", "num", "COM1");
    EXPECT_EQ(Get("sysset.ini"), "[comx]\nnum=COM1\n");

    const std::string before = "; kept\r\n[view]\r\nzoom=2\r\n[comx]\r\nnum=COM1\r\n";
    Put("sysset.ini", before);
    ::chmod(PathOf("sysset.ini").c_str(), 0640);
    ini.WriteString("comx", "num", "COM12");
    EXPECT_EQ(Get("sysset.ini"), "; kept\r\n[view]\r\nzoom=2\r\n[comx]\r\nnum=COM12\r\n");
    EXPECT_EQ(fs::status(PathOf("sysset.ini")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(), std::vector<std::string>{"sysset.ini"});
}

TEST_F(IniFileTest, ALinkStaysALinkAndItsTargetChanges) {
    Put("real.ini", "[comx]\nnum=COM2\n");
    fs::create_symlink("real.ini", PathOf("sysset.ini"));
    IniFile(PathOf("sysset.ini")).WriteString("comx", "num", "COM4");
    EXPECT_TRUE(fs::is_symlink(PathOf("sysset.ini")));
    EXPECT_EQ(Get("real.ini"), "[comx]\nnum=COM4\n");
}

TEST_F(IniFileTest, AFailedWriteNamesTheFileAndKeepsTheOldOneWhole) {
    const IniFile missingDir(PathOf("gone/sysset.ini"));
    try {
        missingDir.WriteString("comx", "num", "COM1");
        ADD_FAILURE() << "wrote into a missing directory";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + PathOf("gone/sysset.ini") +
                                             "\". No such file or directory");
    }

    // A write cut short by the file-size limit (which binds root too) must not touch the file.
    const std::string old = "[comx]\nnum=COM5\n";
    Put("sysset.ini", old);
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = old.size();
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    EXPECT_THROW(IniFile(PathOf("sysset.ini")).WriteString("comx", "num", "/dev/ttyUSB0"),
                 EFileError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(Get("sysset.ini"), old);
    EXPECT_EQ(Names(), std::vector<std::string>{"sysset.ini"});

    // A value the file cannot hold is refused before anything is written.
    EXPECT_THROW(IniFile(PathOf("sysset.ini")).WriteString("comx", "num", "A\nB"), EIniValueError);
    EXPECT_EQ(Get("sysset.ini"), old);
}

TEST_F(IniFileTest, AFolderThatTakesNoNewFileHasItsFileRewrittenInPlaceOrTellsWhyNot) {
    Put("sysset.ini", "; kept\n[comx]\nnum=COM1\n");
    const IniFile ini(PathOf("sysset.ini"));
    {
        const test::ReadOnlyPath folder(dir_.string());
        ini.WriteString("comx", "num", "/dev/ttyUSB0");
        EXPECT_EQ(Get("sysset.ini"), "; kept\n[comx]\nnum=/dev/ttyUSB0\n");
        ini.WriteString("comx", "num", "C");  // shorter: nothing of the longer text is left
        EXPECT_EQ(Get("sysset.ini"), "; kept\n[comx]\nnum=C\n");

        const test::ReadOnlyPath file(PathOf("sysset.ini"));
        try {
            ini.WriteString("comx", "num", "COM2");
            ADD_FAILURE() << "wrote a read-only file in a read-only folder";
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write file \"" + PathOf("sysset.ini") +
                                                 "\". " +
                                                 std::strerror(test::ReadOnlyPath::RefusalError()));
        }
        EXPECT_EQ(Get("sysset.ini"), "; kept\n[comx]\nnum=C\n");
    }
    EXPECT_EQ(Names(), std::vector<std::string>{"sysset.ini"});
}

TEST_F(IniFileTest, ReadErrorsNameTheFileAndTheReason) {
    try {
        ReadFileBytes(PathOf("MCUtype.txt"));
        ADD_FAILURE() << "read a missing file";
    } catch (const EFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + PathOf("MCUtype.txt") + "\". No such file or directory");
        EXPECT_EQ(e.ErrorNumber(), ENOENT);
    }
    fs::create_directory(PathOf("MCUtype.txt"));
    EXPECT_THROW(ReadFileBytes(PathOf("MCUtype.txt")), EFileError);

    const std::string binary("\0\xFF\r\n\x1A", 5);
    Put("bytes", binary + std::string(200000, 'x'));
    EXPECT_EQ(ReadFileBytes(PathOf("bytes")), binary + std::string(200000, 'x'));
}

}  // namespace
}  // namespace vortana
