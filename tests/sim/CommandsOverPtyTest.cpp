// Every command's reply, driven with raw frames over the simulator's pseudo-terminal.
#include <gtest/gtest.h>

#include "harness/SimLine.h"

namespace vortana::sim::test {
namespace {

SimConfig WithChip(Bytes fill, bool readProtected = false) {
    SimConfig config = SimConfig::Immediate();
    config.fill = std::move(fill);
    config.readProtected = readProtected;
    return config;
}

// Downloads a `sizeK` KiB plain-model image starting at `startHigh`; true when it ends well.
bool Download(SimLine& line, const Bytes& image, std::uint8_t startHigh) {
    line.Send(HeaderFrame(static_cast<std::uint8_t>(image.size() / 1024), 0x00));
    Bytes last;
    for (const Bytes& block : ImageBlocks(image, 0x00, startHigh))
        last = line.Ask(block);
    return last.size() == 7 && last[3] == 0x99;
}

TEST(SimCommands, SettingsAreKeptAndAnsweredWithSuccess) {
    SimLine line;
    EXPECT_EQ(line.Ask(Frame(0x06, {0xAA, 0x33, 0x99, 0x99, 0x55})), ReplyBytes(0x06, 0x99));
    const DeviceState state = line.Sim().State();
    ASSERT_TRUE(state.settings);
    EXPECT_EQ(state.settings->mode, 0xAA);
    EXPECT_EQ(state.settings->supply, 0x33);
    EXPECT_EQ(state.settings->burnCountHigh, 0x99);
    EXPECT_EQ(state.settings->burnCountLow, 0x99);
    EXPECT_FALSE(state.settings->EraseEnabled());
    EXPECT_FALSE(state.settings->VerifyEnabled());
    ASSERT_EQ(state.frames.size(), 1u);
    EXPECT_EQ(state.frames[0].code, 0x06);
}

TEST(SimCommands, EraseFillsWithFFAndLiftsTheProtection) {
    SimLine line(WithChip(Bytes(0x10000, 0x00), true));
    EXPECT_EQ(line.Ask(ReadOutFrame(0x00, 4, 0x00)), ReplyBytes(0x04, 0x11));
    EXPECT_EQ(line.Ask(Frame(0x01)), ReplyBytes(0x01, 0x99));
    const DeviceState state = line.Sim().State();
    EXPECT_FALSE(state.chip.ReadProtected());
    EXPECT_EQ(std::count(state.chip.Memory().begin(), state.chip.Memory().end(), 0xFF), 0x10000);
    line.Send(ReadOutFrame(0x00, 4, 0x00));
    EXPECT_EQ(line.ReadCount(4096), Bytes(4096, 0xFF));
}

TEST(SimCommands, ProgrammingCommandsWithoutAnImageFail) {
    SimLine line;
    EXPECT_EQ(line.Ask(Frame(0x02)), ReplyBytes(0x02, 0x00));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0x00));
    EXPECT_EQ(line.Ask(Frame(0x05)), ReplyBytes(0x05, 0x00));
}

TEST(SimCommands, ProgramThenVerifySucceedsAndTheChipHoldsTheImage) {
    SimLine line;
    const Bytes image = PatternImage(32 * 1024);
    ASSERT_TRUE(Download(line, image, 0x80));
    EXPECT_EQ(line.Ask(Frame(0x02)), ReplyBytes(0x02, 0x99));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0x99));
    const DeviceState programmed = line.Sim().State();
    const auto memory = programmed.chip.Memory();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin() + 0x8000));
    EXPECT_EQ(memory[0x7FFF], 0xFF);
}

// Flash programming only clears bits: a byte programmed over an unerased one fails to verify,
// and the mismatch names its address, the byte written and the byte read.
TEST(SimCommands, VerifyReportsTheFirstMismatchAtItsAddress) {
    Bytes fill(0x10000, 0xFF);
    fill[0x8123] = 0x0F;
    fill[0x9000] = 0x00;
    SimLine line(WithChip(fill));
    Bytes image(16 * 1024, 0xFF);
    image[0x0010] = 0x12;  // 8010: FF & 12 programs fine
    image[0x0123] = 0xF0;  // 8123: 0F & F0 leaves 00
    ASSERT_TRUE(Download(line, image, 0x80));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0xEE, {0x80, 0x10, 0x12, 0xFF}));
    EXPECT_EQ(line.Ask(Frame(0x02)), ReplyBytes(0x02, 0x99));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0xEE, {0x81, 0x23, 0xF0, 0x00}));
    EXPECT_EQ(line.Ask(Frame(0x05)), ReplyBytes(0x05, 0x99));  // erases first
    EXPECT_EQ(line.Ask(Frame(0x01)), ReplyBytes(0x01, 0x99));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0xEE, {0x80, 0x10, 0x12, 0xFF}));
}

TEST(SimCommands, ReadProtectionStopsVerifyingUnlessEraseLiftsIt) {
    SimLine line(WithChip({}, true));
    ASSERT_TRUE(Download(line, PatternImage(4096), 0xF0));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0x11));
    EXPECT_EQ(line.Ask(SettingsFrame(0x50)), ReplyBytes(0x06, 0x99));  // erase off
    EXPECT_EQ(line.Ask(Frame(0x05)), ReplyBytes(0x05, 0x11));
    EXPECT_EQ(line.Ask(SettingsFrame(0x00)), ReplyBytes(0x06, 0x99));
    EXPECT_EQ(line.Ask(Frame(0x05)), ReplyBytes(0x05, 0x99));
    EXPECT_FALSE(line.Sim().State().chip.ReadProtected());
}

TEST(SimCommands, ReadOutOfASizeOrModelItCannotReadFails) {
    SimLine line;
    for (const Bytes& frame : {ReadOutFrame(0x80, 6, 0x00), ReadOutFrame(0x80, 0, 0x00),
                               ReadOutFrame(0x80, 68, 0x00), ReadOutFrame(0x80, 8, 0xB1)})
        EXPECT_EQ(line.Ask(frame), ReplyBytes(0x04, 0x00)) << HexBytes(frame);
}

TEST(SimBadFrames, AreSkippedOrRefusedAndTheNextFrameIsAnswered) {
    SimLine line;
    // Noise, an unknown code, then erase.
    EXPECT_EQ(line.Ask({0x01, 0x02, 0x68, 0x07, 0x68, 0x01, 0x00, 0x16}), ReplyBytes(0x01, 0x99));
    // A known code with a wrong length, and one without its end byte: 0x00 for that code.
    EXPECT_EQ(line.Ask({0x68, 0x03, 0x02, 0x00, 0x00, 0x16}), ReplyBytes(0x03, 0x00));
    EXPECT_EQ(line.Ask({0x68, 0x02, 0x00, 0x17}), ReplyBytes(0x02, 0x00));
    // A frame cut short is dropped once the line has been quiet for a second.
    line.Send({0x68, 0x06, 0x05, 0x55});
    EXPECT_TRUE(line.StaysQuiet(1500ms));
    EXPECT_EQ(line.Ask(SettingsFrame()), ReplyBytes(0x06, 0x99));
    // Noise 01 02, the unknown code, its 07 read again as noise; the wrong length and the
    // bytes after its start byte; the missing end byte and its bytes; the unfinished frame.
    EXPECT_EQ(line.Sim().State().badInputs, 8u);
}

// A long stretch of noise never stops the simulator; once it is over, frames are answered.
TEST(SimBadFrames, GarbageNeverStopsTheSimulator) {
    SimLine line;
    Bytes garbage(64 * 1024);
    std::uint32_t state = 12345;
    for (auto& byte : garbage) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    line.Send(garbage);
    while (!line.ReadBurst(1500ms, 1500ms).empty()) {
    }
    EXPECT_TRUE(line.Sim().Serving());
    EXPECT_EQ(line.Ask(SettingsFrame()), ReplyBytes(0x06, 0x99));
}

}  // namespace
}  // namespace vortana::sim::test
