#include "image/SerialNumber.h"

#include <gtest/gtest.h>

#include <memory>

#include "shell/Convert.h"

namespace vortana {
namespace {

TEST(SerialNumber, EncodesDigitPairsLeastSignificantFirst) {
    struct Case {
        std::int64_t start;
        SerialNumberDigits bytes;
    };
    const Case cases[] = {
        {1234567890, {90, 78, 56, 34, 12}}, {9999999999, {99, 99, 99, 99, 99}},
        {2147483648, {48, 36, 48, 47, 21}}, {0, {0, 0, 0, 0, 0}},
        {100000000, {0, 0, 0, 0, 1}},       {7, {7, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeSerialNumber(c.start), c.bytes) << c.start;
    // Not packed decimal: the pair 90 is the byte 0x5A.
    EXPECT_EQ(EncodeSerialNumber(90)->front(), 0x5A);
}

TEST(SerialNumber, RefusesNumbersBeyondTenDigitsOrBelowZero) {
    EXPECT_EQ(EncodeSerialNumber(10000000000), std::nullopt);
    EXPECT_EQ(EncodeSerialNumber(INT64_MAX), std::nullopt);
    EXPECT_EQ(EncodeSerialNumber(-1), std::nullopt);
}

TEST(SerialNumber, OkStoresStartIncrementAndBytes) {
    auto session = std::make_unique<SessionState>();
    EXPECT_EQ(ApplySerialNumberTexts("1234567890", "3", *session), std::nullopt);
    EXPECT_EQ(session->SerialNumberStart, 1234567890);
    EXPECT_EQ(session->SerialNumberBytes, (SerialNumberDigits{90, 78, 56, 34, 12}));
    EXPECT_EQ(session->SerialIncrement, 3);

    EXPECT_EQ(ApplySerialNumberTexts("0", "0", *session), std::nullopt);
    EXPECT_EQ(session->SerialNumberBytes, (SerialNumberDigits{}));
    EXPECT_EQ(session->SerialIncrement, 0);
}

TEST(SerialNumber, OutOfRangeKeepsTheBytesButTakesStartAndIncrement) {
    auto session = std::make_unique<SessionState>();
    ASSERT_EQ(ApplySerialNumberTexts("1234567890", "3", *session), std::nullopt);
    for (std::string_view start : {"10000000000", "-5"}) {
        SCOPED_TRACE(start);
        EXPECT_EQ(ApplySerialNumberTexts(start, "7", *session),
                  "序号超出范围，最大10位数，请重新设置！");
        EXPECT_EQ(session->SerialNumberStart, StrToInt64(start));
        EXPECT_EQ(session->SerialIncrement, 7);
        EXPECT_EQ(session->SerialNumberBytes, (SerialNumberDigits{90, 78, 56, 34, 12}));
    }
}

TEST(SerialNumber, ATextThatIsNoNumberStopsWhereTheHandlerWould) {
    auto session = std::make_unique<SessionState>();
    ASSERT_EQ(ApplySerialNumberTexts("42", "1", *session), std::nullopt);
    EXPECT_THROW(ApplySerialNumberTexts("", "5", *session), EConvertError);
    EXPECT_EQ(session->SerialNumberStart, 42);
    EXPECT_EQ(session->SerialIncrement, 1);
    // The increment fails after the start number has been taken.
    EXPECT_THROW(ApplySerialNumberTexts("77", "x", *session), EConvertError);
    EXPECT_EQ(session->SerialNumberStart, 77);
    EXPECT_EQ(session->SerialIncrement, 1);
    EXPECT_EQ(session->SerialNumberBytes, (SerialNumberDigits{42, 0, 0, 0, 0}));
}

TEST(SerialNumber, NoClearsBytesAndIncrementButNotTheStart) {
    auto session = std::make_unique<SessionState>();
    ASSERT_EQ(ApplySerialNumberTexts("1234567890", "3", *session), std::nullopt);
    ClearSerialNumber(*session);
    EXPECT_EQ(session->SerialNumberBytes, (SerialNumberDigits{}));
    EXPECT_EQ(session->SerialIncrement, 0);
    EXPECT_EQ(session->SerialNumberStart, 1234567890);
}

}  // namespace
}  // namespace vortana
