#include "shell/IniText.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

TEST(IniReadValue, FindsTheEntryOfItsSectionOnly) {
    const std::string text =
        "; port of the programmer\r\n"
        "num=COM1\r\n"  // before any section: belongs to none
        "[other]\r\n"
        "num=COM2\r\n"
        "[ComX]\r\n"
        "  NUM  =  COM7  \r\n"
        "num=COM8\r\n"  // only the first entry of a key counts
        "[comx]\r\n"
        "num=COM9\r\n";  // only the first section of a name counts
    EXPECT_EQ(IniReadValue(text, "comx", "num"), "COM7");
    EXPECT_EQ(IniReadValue(text, "other", "num"), "COM2");
    EXPECT_EQ(IniReadValue(text, "comx", "baud"), std::nullopt);
    EXPECT_EQ(IniReadValue(text, "missing", "num"), std::nullopt);
}

TEST(IniReadValue, ToleratesOddShapes) {
    EXPECT_EQ(IniReadValue("", "comx", "num"), std::nullopt);
    EXPECT_EQ(IniReadValue("\xEF\xBB\xBF[comx]\nnum=COM3", "comx", "num"), "COM3");  // BOM, no LF
    EXPECT_EQ(IniReadValue("[comx]\nnum=\n", "comx", "num"), "");
    EXPECT_EQ(IniReadValue("[comx]\n;num=COM4\n#num=COM4\n", "comx", "num"), std::nullopt);
    EXPECT_EQ(IniReadValue("[comx]\nnum=/dev/ttyUSB0=x\n", "comx", "num"), "/dev/ttyUSB0=x");
    EXPECT_EQ(IniReadValue("\t[ comx ]\t\nnum\t=\tCOM6\t\n", "comx", "num"), "COM6");
    EXPECT_EQ(IniReadValue("[comx\nnum=COM2\n", "comx", "num"), "COM2");  // header without ']'
    EXPECT_EQ(IniReadValue(std::string("[comx]\nnum=C\0M\n", 14), "comx", "num"),
              std::string("C\0M", 3));
}

// Each case: the text before, the text after num in comx is set to COM3.
struct WriteCase {
    const char* name;
    std::string before;
    std::string after;
};

TEST(IniWriteValue, ChangesOnlyTheOneValue) {
    const WriteCase cases[] = {
        {"new file", "", "[comx]\nnum=COM3\n"},
        {"existing value, CR LF kept", "[comx]\r\nnum=COM5\r\n", "[comx]\r\nnum=COM3\r\n"},
        {"blanks before the value and the key's spelling kept", "[COMX]\n  Num =  COM5  \n",
         "[COMX]\n  Num =  COM3\n"},
        {"empty value", "[comx]\nnum=\n", "[comx]\nnum=COM3\n"},
        {"last line without a line end", "[comx]\nnum=COM5", "[comx]\nnum=COM3"},
        {"comments and other sections kept byte for byte",
         "; settings\r\n[a]\r\nnum=1\r\n\r\n[comx]\r\n; port\r\nnum=COM5 \r\nother=2\r\n[b]\r\nx=y",
         "; settings\r\n[a]\r\nnum=1\r\n\r\n[comx]\r\n; port\r\nnum=COM3\r\nother=2\r\n[b]\r\nx=y"},
        {"key added after the section's last filled line",
         "[comx]\nbaud=38400\n\n[next]\nnum=COM1\n",
         "[comx]\nbaud=38400\nnum=COM3\n\n[next]\nnum=COM1\n"},
        {"key added to a section at the end without a line end", "[comx]", "[comx]\nnum=COM3\n"},
        {"section added, the file's CR LF used", "[other]\r\nk=v\r\n",
         "[other]\r\nk=v\r\n[comx]\r\nnum=COM3\r\n"},
        {"section added after an unended last line", "[other]\nk=v",
         "[other]\nk=v\n[comx]\nnum=COM3\n"},
        {"byte order mark kept", "\xEF\xBB\xBF", "\xEF\xBB\xBF[comx]\nnum=COM3\n"},
        {"commented-out entry is not the entry", "[comx]\n;num=COM1\n",
         "[comx]\n;num=COM1\nnum=COM3\n"},
    };
    for (const WriteCase& c : cases) {
        const std::string written = IniWriteValue(c.before, "comx", "num", "COM3");
        EXPECT_EQ(written, c.after) << c.name;
        EXPECT_EQ(IniReadValue(written, "comx", "num"), "COM3") << c.name;
    }
}

TEST(IniWriteValue, EveryPrefixOfAPortNameReadsBack) {
    std::string text = "[comx]\nnum=COM5\n";
    for (const char* typed : {"", "C", "CO", "COM", "COM1", "/dev/pts/3", "端口 1"}) {
        text = IniWriteValue(text, "comx", "num", typed);
        EXPECT_EQ(IniReadValue(text, "comx", "num"), typed);
    }
    EXPECT_EQ(text, "[comx]\nnum=端口 1\n");
}

// A text whose last line ends in a lone CR: a line added after it must not change what that
// line says, nor end in a lone CR itself.
TEST(IniWriteValue, ACarriageReturnEndingTheTextIsALineEnd) {
    const WriteCase cases[] = {
        {"key added", "[comx]\nbaud=38400\r", "[comx]\nbaud=38400\r\nnum=COM3\n"},
        {"section added, the file's CR LF used", "[a]\r\nbaud=38400\r",
         "[a]\r\nbaud=38400\r\n[comx]\r\nnum=COM3\r\n"},
        {"one line only", "[a]\rbaud=38400\r", "[a]\rbaud=38400\r\n[comx]\nnum=COM3\n"},
    };
    for (const WriteCase& c : cases) {
        const std::string written = IniWriteValue(c.before, "comx", "num", "COM3");
        EXPECT_EQ(written, c.after) << c.name;
        EXPECT_EQ(IniReadValue(written, "comx", "num"), "COM3") << c.name;
    }
    EXPECT_EQ(IniReadValue("[comx]\nbaud=38400\r", "comx", "baud"), "38400");
    EXPECT_EQ(IniReadValue("[comx]\nbaud=38400\r\nnum=COM3\n", "comx", "baud"), "38400");
    EXPECT_EQ(IniReadValue("[comx]\rnum=COM4\r", "comx", "num"), std::nullopt);  // one line
}

// Blanks before a value are no part of it for the reader; written, they would join the
// separator and grow by one at every rewrite.
TEST(IniWriteValue, BlanksBeforeTheValueAreNotWrittenSoARewriteChangesNothing) {
    std::string text = "[comx]\nnum = COM5\n";
    for (int rewrite = 0; rewrite < 3; ++rewrite) {
        text = IniWriteValue(text, "comx", "num", " \tCOM6 ");
        EXPECT_EQ(text, "[comx]\nnum = COM6 \n");
        EXPECT_EQ(IniReadValue(text, "comx", "num"), "COM6");
    }
    EXPECT_EQ(IniWriteValue("", "comx", "num", "  COM6"), "[comx]\nnum=COM6\n");
}

TEST(IniWriteValue, RefusesWhatTheFileCannotHold) {
    const std::string text = "[comx]\nnum=COM5\n";
    EXPECT_THROW(IniWriteValue(text, "comx", "num", "COM1\nnum=COM2"), EIniValueError);
    EXPECT_THROW(IniWriteValue(text, "comx", "num", "COM1\r"), EIniValueError);
    EXPECT_THROW(IniWriteValue(text, "co]mx", "num", "COM1"), EIniValueError);
    EXPECT_THROW(IniWriteValue(text, "", "num", "COM1"), EIniValueError);
    EXPECT_THROW(IniWriteValue(text, "comx", "n=m", "COM1"), EIniValueError);
    EXPECT_THROW(IniWriteValue(text, "comx", " num", "COM1"), EIniValueError);
    EXPECT_THROW(IniWriteValue(text, "comx", "[num", "COM1"), EIniValueError);
}

}  // namespace
}  // namespace vortana
