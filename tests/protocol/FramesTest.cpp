#include "protocol/Frames.h"

#include "shell/Convert.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vortana {
namespace {

using ::testing::ElementsAreArray;

struct SettingsCase {
    SettingsControls controls;
    Frame expected;
};

TEST(SetCmd, RadioGroupsAndBurnCountGiveTheNineBytes) {
    const SettingsCase cases[] = {
        // online, 5 V, erase and verify on: the window's defaults
        {{0, 0, 0, 0, "0000"}, {0x68, 0x06, 0x05, 0x55, 0x50, 0x00, 0x00, 0x00, 0x16}},
        {{1, 1, 1, 1, "9999"}, {0x68, 0x06, 0x05, 0xAA, 0x33, 0x99, 0x99, 0x55, 0x16}},
        {{0, 0, 0, 1, "1234"}, {0x68, 0x06, 0x05, 0x55, 0x50, 0x12, 0x34, 0x05, 0x16}},
        {{0, 1, 1, 0, "567"}, {0x68, 0x06, 0x05, 0x55, 0x33, 0x05, 0x67, 0x50, 0x16}},
        // nothing selected: offline mode, no supply, no flags whatever verify says
        {{-1, -1, -1, 1, "7"}, {0x68, 0x06, 0x05, 0xAA, 0x00, 0x00, 0x07, 0x00, 0x16}},
        {{0, 0, 1, -1, "42"}, {0x68, 0x06, 0x05, 0x55, 0x50, 0x00, 0x42, 0x50, 0x16}},
        // leading zeros make no difference
        {{0, 0, 0, 0, "0042"}, {0x68, 0x06, 0x05, 0x55, 0x50, 0x00, 0x42, 0x00, 0x16}},
        {{0, 0, 0, 0, "100"}, {0x68, 0x06, 0x05, 0x55, 0x50, 0x01, 0x00, 0x00, 0x16}},
        {{0, 0, 0, 0, "0100"}, {0x68, 0x06, 0x05, 0x55, 0x50, 0x01, 0x00, 0x00, 0x16}},
    };
    for (const auto& c : cases)
        EXPECT_THAT(SetCmd(c.controls), ElementsAreArray(c.expected)) << c.controls.Edit4;
}

TEST(SetCmd, BadBurnCountRaisesTheConversionError) {
    for (const char* bad : {"", "12a", " ", "-1", "+10000", "99999"}) {
        try {
            SetCmd({0, 0, 0, 0, bad});
            ADD_FAILURE() << "accepted \"" << bad << '"';
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST(BareFrame, FourBytesWithZeroLength) {
    EXPECT_THAT(BareFrame(Command::EraseCmd), ElementsAreArray({0x68, 0x01, 0x00, 0x16}));
    EXPECT_THAT(BareFrame(Command::WriteCmd), ElementsAreArray({0x68, 0x02, 0x00, 0x16}));
    EXPECT_THAT(BareFrame(Command::CheckCmd), ElementsAreArray({0x68, 0x03, 0x00, 0x16}));
    EXPECT_THAT(BareFrame(Command::EPCCmd), ElementsAreArray({0x68, 0x05, 0x00, 0x16}));
}

TEST(ReadCmd, StartHighByteSizeAndModelCode) {
    SessionState state;
    state.FlashStartHigh = "40";
    state.ImageSize = 49152;
    state.ModelCode = "0x10";
    EXPECT_THAT(ReadCmd(state), ElementsAreArray({0x68, 0x04, 0x03, 0x40, 0x30, 0x10, 0x16}));

    state.ImageSize = 65536;
    state.ModelCode = "0xB2";
    EXPECT_THAT(ReadCmd(state), ElementsAreArray({0x68, 0x04, 0x03, 0x40, 0x40, 0xB2, 0x16}));

    // Texts that are no hexadecimal send 0x00 without a word.
    state.FlashStartHigh = "G0";
    for (const char* code : {"0x", "", "0xZZ", "0"}) {
        state.ModelCode = code;
        EXPECT_THAT(ReadCmd(state), ElementsAreArray({0x68, 0x04, 0x03, 0x00, 0x40, 0x00, 0x16}))
            << code;
    }
}

TEST(LoadCmd, SizeModelCodeAndSerialBytesLeastSignificantFirst) {
    SessionState state;
    state.ImageSize = 65536;
    state.ModelCode = "0x00";
    EXPECT_THAT(LoadCmd(state), ElementsAreArray({0x68, 0x00, 0x08, 0x40, 0x00, 0x00, 0x00, 0x00,
                                                  0x00, 0x00, 0x00, 0x16}));

    state.ImageSize = 20480;
    state.ModelCode = "0xB0";
    state.SerialNumberBytes = {90, 78, 56, 34, 12};  // 1234567890
    state.SerialIncrement = 1;
    EXPECT_THAT(LoadCmd(state), ElementsAreArray({0x68, 0x00, 0x08, 0x14, 0xB0, 0x5A, 0x4E, 0x38,
                                                  0x22, 0x0C, 0x01, 0x16}));
}

}  // namespace
}  // namespace vortana
