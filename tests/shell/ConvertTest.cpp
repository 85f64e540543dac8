#include "shell/Convert.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

TEST(HexToIntDef, ReadsDigitsOfEitherCase) {
    EXPECT_EQ(HexToIntDef("8000"), 0x8000);
    EXPECT_EQ(HexToIntDef("ffFF"), 0xFFFF);
    EXPECT_EQ(HexToIntDef("0C"), 0x0C);
    EXPECT_EQ(HexToIntDef("FFFFFFFF"), -1);  // eight digits wrap as a 32-bit integer would
}

TEST(HexToIntDef, AnythingElseGivesTheDefault) {
    for (const char* bad : {"", " 10", "10 ", "0x10", "$10", "G0", "123456789", "\r\n", "-1"}) {
        EXPECT_EQ(HexToIntDef(bad), 0) << '"' << bad << '"';
        EXPECT_EQ(HexToIntDef(bad, 7), 7) << '"' << bad << '"';
    }
}

TEST(StrToInt, ReadsDecimalWithBlanksAndSign) {
    EXPECT_EQ(StrToInt("0000"), 0);
    EXPECT_EQ(StrToInt("0042"), 42);
    EXPECT_EQ(StrToInt("  9999"), 9999);
    EXPECT_EQ(StrToInt("-12"), -12);
    EXPECT_EQ(StrToInt("+12"), 12);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt64("9999999999"), 9999999999LL);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
}

TEST(StrToInt, RefusesWithTheStandardMessage) {
    for (const char* bad : {"", " ", "-", "12 ", "1a", "$10", "0x10", "2147483648", "１２"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << "accepted \"" << bad << '"';
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
}

TEST(IntToHex, PadsAndUsesUpperCase) {
    EXPECT_EQ(IntToHex(0x4f3a, 4), "4F3A");
    EXPECT_EQ(IntToHex(0x0c, 2), "0C");
    EXPECT_EQ(IntToHex(0x10000, 4), "10000");
    EXPECT_EQ(IntToHex(0x7F8000, 8), "007F8000");
    EXPECT_EQ(IntToHex(0, 2), "00");
}

}  // namespace
}  // namespace vortana
