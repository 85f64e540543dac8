#include "image/ModelPick.h"

#include <gtest/gtest.h>

#include <memory>

namespace vortana {
namespace {

// A catalogue line with its fields at their columns: `name` must fill columns 4 to 18 and
// `size` columns 45 to 48; the rest is the free space between the fields.
std::string Line(std::string_view name, std::string_view start, std::string_view end,
                 std::string_view size, std::string_view code) {
    std::string line = "   ";
    line.append(name).append(6, ' ').append(start).append(3, ' ').append(end);
    line.append(9, ' ').append(size).append(6, ' ').append(code);
    return line;
}

ModelPick Picked(std::string_view line) {
    ModelPickOutcome outcome = PickModel(line);
    EXPECT_TRUE(outcome.pick.has_value()) << outcome.refusal;
    EXPECT_EQ(outcome.refusal, "");
    return outcome.pick.value_or(ModelPick{});
}

struct WorkedExample {
    std::string_view start, end, size, code;
    std::string_view flashSizeK;
    std::uint32_t imageSize;
    std::string_view edit2;
};

TEST(ModelPick, DerivesSizesAndAddressBoxPerCode) {
    const WorkedExample examples[] = {
        {"8000", "FFFF", "32K ", "0x00", "32", 32768, " 8000 - FFFF 32K "},
        {"C000", "FFFF", "16K ", "0xB0", "20", 20480, "B000-BFFF+C000-FFFF=20K"},
        {"C000", "FFFF", "16K ", "0xB2", "20", 20480, "B000-BFFF+C000-FFFF=20K"},
        {"4000", "FFFF", "48K ", "0x14", "52", 53248, "1000-1FFF+4000-FFFF=52K"},
        {"4000", "FFFF", "48K ", "0x10", "52", 53248, "1000-1FFF+4000-FFFF=52K"},
        {"F000", "FFFF", "4K  ", "0x00", "4", 4096, " F000 - FFFF 4K  "},
        {"0000", "FFFF", "64K ", "0x00", "64", 65536, " 0000 - FFFF 64K "},
        {"1000", "FFFF", "60K ", "0x10", "64", 65536, "1000-1FFF+1000-FFFF=64K"},
        {"D000", "FFFF", "12Kx", "0x00", "12", 12288, " D000 - FFFF 12Kx"},
    };
    for (const WorkedExample& e : examples) {
        SCOPED_TRACE(std::string(e.code) + " " + std::string(e.size));
        const ModelPick pick = Picked(Line("VT8051A        ", e.start, e.end, e.size, e.code));
        EXPECT_EQ(pick.ModelName, "VT8051A        ");
        EXPECT_EQ(pick.Edit1, " VT8051A        ");
        EXPECT_EQ(pick.FlashStart, e.start);
        EXPECT_EQ(pick.FlashEnd, e.end);
        EXPECT_EQ(pick.FlashSizeText, e.size);
        EXPECT_EQ(pick.ModelCode, e.code);
        EXPECT_EQ(pick.FlashSizeK, e.flashSizeK);
        EXPECT_EQ(pick.ImageSize, e.imageSize);
        EXPECT_EQ(pick.Edit2, e.edit2);
    }
}

TEST(ModelPick, LineEndsAndAShortLastFieldAreTakenAsTheyAre) {
    const std::string line = Line("VT8051A        ", "8000", "FFFF", "32K ", "0x00");
    EXPECT_EQ(Picked(line + "\r\n").Edit2, Picked(line).Edit2);
    EXPECT_EQ(Picked(line + "\n").ModelCode, "0x00");
    // Characters past the last field are free space.
    EXPECT_EQ(Picked(line + "   ; comment").ModelCode, "0x00");
}

TEST(ModelPick, CountsAChineseCharacterAsTwoColumns) {
    // 3 Chinese characters (6 columns) and 4 ASCII fill 10 of the name's 15 columns.
    const ModelPick pick = Picked(Line("单片机VT51     ", "C000", "FFFF", "16K ", "0xB0"));
    EXPECT_EQ(pick.ModelName, "单片机VT51     ");
    EXPECT_EQ(pick.Edit1, " 单片机VT51     ");
    EXPECT_EQ(pick.FlashStart, "C000");
    EXPECT_EQ(pick.Edit2, "B000-BFFF+C000-FFFF=20K");
    // Full-width punctuation counts two columns as well.
    EXPECT_EQ(Picked(Line("芯片（甲）A    ", "8000", "FFFF", "32K ", "0x00")).ModelName,
              "芯片（甲）A    ");
}

TEST(ModelPick, ACharacterStraddlingAFieldEdgeGoesWithItsFirstColumn) {
    // Eight Chinese characters from column 4 run to column 19: the last starts on column 18,
    // the name's last column, and is kept whole. One column less of free space follows.
    std::string line = "   一二三四五六七八     8000   FFFF         32K       0x00";
    EXPECT_EQ(Picked(line).ModelName, "一二三四五六七八");
    EXPECT_EQ(Picked(line).FlashStart, "8000");
    // A character on columns 3 and 4 starts before the name: the name begins on column 5.
    line = "  中ABCDEFGHIJKLMN      8000   FFFF         32K       0x00";
    EXPECT_EQ(Picked(line).ModelName, "ABCDEFGHIJKLMN");
    EXPECT_EQ(Picked(line).FlashStart, "8000");
}

TEST(ModelPick, BrokenUtf8IsCutWithoutReadingPastTheLine) {
    // A stray continuation byte counts as a two-column character of its own.
    const std::string line = Line(
        "VT\x80"
        "51         ",
        "8000", "FFFF", "32K ", "0x00");
    EXPECT_EQ(Picked(line).ModelName,
              "VT\x80"
              "51         ");
    EXPECT_EQ(Picked(line).ModelCode, "0x00");
    // A lead byte whose continuation bytes are missing, at the very end of the line.
    const ModelPickOutcome cut = PickModel(line.substr(0, line.size() - 1) + "\xE4\xB8");
    EXPECT_FALSE(cut.pick.has_value());
    EXPECT_NE(cut.refusal.find("0x0\xE4"), std::string::npos);
}

struct RefusedLine {
    std::string_view size, code;
    std::string_view shown;  // what the message must name
};

TEST(ModelPick, RefusesALineThatCannotDescribeAnImage) {
    const RefusedLine refused[] = {
        {"32K ", "0xb0", "0xb0"},  // lower case matches none of the five
        {"32K ", "0x20", "0x20"},  // unknown code
        {"32K ", "    ", "    "},  // no code at all
        {"128K", "0x00", "128K"},  // a third digit would have been dropped
        {"    ", "0x00", "    "},  // no size
        {"K32 ", "0x00", "K32 "},  // misplaced size
        {"3 K ", "0x00", "3 K "},  // a blank inside the digits
        {"10K ", "0x00", "10K"},   // not whole 4 KiB blocks
        {"0K  ", "0x00", "0K"},    // empty image
        {"-4K ", "0x10", "0K"},    // sign taken, still empty
        {"64K ", "0x10", "68K"},   // the window makes it too large for the tables
        {"99K ", "0x00", "99K"},
    };
    for (const RefusedLine& r : refused) {
        SCOPED_TRACE(std::string(r.size) + " " + std::string(r.code));
        const ModelPickOutcome outcome =
            PickModel(Line("VT8051A        ", "8000", "FFFF", r.size, r.code));
        EXPECT_FALSE(outcome.pick.has_value());
        EXPECT_NE(outcome.refusal.find(r.shown), std::string::npos) << outcome.refusal;
        EXPECT_NE(outcome.refusal.find("MCUtype.txt"), std::string::npos) << outcome.refusal;
    }
    // Header, blank and short lines have no code in their columns.
    for (std::string_view line :
         {"", "   型号           起始   结束        容量     代码", "   VT51"})
        EXPECT_FALSE(PickModel(line).pick.has_value()) << line;
}

TEST(ModelPick, ApplyingASecondPickOverwritesEveryModelField) {
    auto session = std::make_unique<SessionState>();
    session->ImageText[0] = "$12";
    Picked(Line("VT8051A        ", "4000", "FFFF", "48K ", "0x14")).ApplyTo(*session);
    EXPECT_EQ(session->ImageSize, 53248u);
    EXPECT_EQ(session->FlashSizeK, "52");

    Picked(Line("VT8052         ", "8000", "FFF0", "32K ", "0x00")).ApplyTo(*session);
    EXPECT_EQ(session->ModelName, "VT8052         ");
    EXPECT_EQ(session->FlashStart, "8000");
    EXPECT_EQ(session->FlashEnd, "FFF0");
    EXPECT_EQ(session->FlashSizeText, "32K ");
    EXPECT_EQ(session->ModelCode, "0x00");
    EXPECT_EQ(session->FlashSizeK, "32");
    EXPECT_EQ(session->ImageSize, 32768u);
    EXPECT_EQ(session->ImageText[0], "$12");  // a pick never touches the image
}

}  // namespace
}  // namespace vortana
