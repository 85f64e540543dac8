#include "production/IniReader.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

TEST(IniReader, ReadsTheSettingsFileSyntax) {
    const IniContents contents = ReadIni(
        "\xEF\xBB\xBF; a comment\r\n"
        "# another\n"
        "\n"
        "  [ Job ]  \n"
        "\tModel\t=\tVT8B-W16 \r\n"
        "file=a=b.s19\n"
        "[ports]\n"
        "ports = /dev/ttyUSB0, usb:A10K3Z1Q");
    ASSERT_EQ(contents.sections.size(), 2u);
    EXPECT_EQ(contents.sections[0].name, "job");
    EXPECT_EQ(contents.sections[0].line, 4u);
    ASSERT_EQ(contents.entries.size(), 3u);
    EXPECT_EQ(contents.entries[0].key, "model");
    EXPECT_EQ(contents.entries[0].value, "VT8B-W16");
    EXPECT_EQ(contents.entries[0].line, 5u);
    EXPECT_EQ(contents.entries[1].value, "a=b.s19");
    EXPECT_EQ(contents.entries[2].section, "ports");
    EXPECT_EQ(contents.entries[2].value, "/dev/ttyUSB0, usb:A10K3Z1Q");
}

TEST(IniReader, RefusesWhatTheSettingsFileWouldPassOverWithItsLine) {
    const struct {
        const char* text;
        std::size_t line;
        const char* reason;
    } cases[] = {
        {"[job]\nmodel VT8B\n", 2, "not a section, an entry 'key = value' or a comment"},
        {"[job\n", 1, "a section header ends with ']'"},
        {"[ ]\n", 1, "a section needs a name"},
        {"model=VT8B\n[job]\n", 1, "entry 'model' before the first section"},
        {"[job]\n=VT8B\n", 2, "an entry needs a key before its '='"},
        {"[job]\nmodel=a\n\nMODEL=b\n", 4, "key 'model' given twice in [job]"},
        {"[job]\n[run]\n[JOB]\n", 3, "section [job] given twice"},
    };
    for (const auto& c : cases) {
        try {
            ReadIni(c.text);
            ADD_FAILURE() << c.text;
        } catch (const IniSyntaxError& error) {
            EXPECT_EQ(error.Line(), c.line) << c.text;
            EXPECT_STREQ(error.what(), c.reason);
        }
    }
}

}  // namespace
}  // namespace vortana
