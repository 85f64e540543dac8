// The download exchange over the simulator's pseudo-terminal: the header, the raw blocks with
// their checks, the block requests and the outcome.
#include <gtest/gtest.h>

#include "harness/SimLine.h"

namespace vortana::sim::test {
namespace {

const Bytes kSerial{0x5A, 0x4E, 0x38, 0x22, 0x0C};

TEST(SimDownload, WholeSixtyFourKiBImageWithItsWindowIsCheckedBlockByBlock) {
    SimLine line;
    const Bytes image = PatternImage(64 * 1024);
    // The window at 1000-1FFF, 60 KiB of main flash from 2000 on, running round to 0FFF.
    const auto blocks = ImageBlocks(image, 0x10, 0x20);
    line.Send(HeaderFrame(64, 0x10, kSerial, 1));
    EXPECT_TRUE(line.StaysQuiet()) << "the header gets no reply";
    for (std::size_t j = 0; j + 1 < blocks.size(); ++j)
        ASSERT_EQ(line.Ask(blocks[j]), ReplyBytes(0x00, 0x55, {static_cast<std::uint8_t>(j + 1)}));
    EXPECT_EQ(line.Ask(blocks.back()), ReplyBytes(0x00, 0x99, {0x10, 0x00}));  // 65536 / 16

    const DeviceState state = line.Sim().State();
    ASSERT_TRUE(state.header);
    EXPECT_EQ(state.header->sizeK, 64);
    EXPECT_EQ(state.header->modelCode, 0x10);
    EXPECT_EQ(Bytes(state.header->serialNumber.begin(), state.header->serialNumber.end()), kSerial);
    EXPECT_EQ(state.header->increment, 1);
    EXPECT_EQ(state.blocks, blocks);
    ASSERT_EQ(state.image.size(), 16u);
    EXPECT_EQ(state.image[0].address, 0x1000);
    EXPECT_EQ(state.image[1].address, 0x2000);
    EXPECT_EQ(state.image[14].address, 0xF000);
    EXPECT_EQ(state.image[15].address, 0x0000);

    // Programmed, the window lands at 1000 and the main flash from 2000 on.
    EXPECT_EQ(line.Ask(Frame(0x02)), ReplyBytes(0x02, 0x99));
    const DeviceState programmed = line.Sim().State();
    const auto memory = programmed.chip.Memory();
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 4096, memory.begin() + 0x1000));
    EXPECT_TRUE(std::equal(image.begin() + 4096, image.end() - 4096, memory.begin() + 0x2000));
    EXPECT_TRUE(std::equal(image.end() - 4096, image.end(), memory.begin()));
    EXPECT_EQ(line.Ask(Frame(0x03)), ReplyBytes(0x03, 0x99));
}

TEST(SimDownload, PlainModelBlocksRunOnFromTheFirstBlocksAddress) {
    SimLine line;
    const auto blocks = ImageBlocks(PatternImage(8 * 1024), 0x00, 0xC0);
    line.Send(HeaderFrame(8, 0x00));
    EXPECT_EQ(line.Ask(blocks[0]), ReplyBytes(0x00, 0x55, {0x01}));
    EXPECT_EQ(line.Ask(blocks[1]), ReplyBytes(0x00, 0x99, {0x02, 0x00}));
    EXPECT_EQ(line.Sim().State().image[1].address, 0xD000);
}

// Each bad block ends the download with 0x00, and leaves no image to program.
TEST(SimDownload, BadBlocksAreRefused) {
    const Bytes image = PatternImage(12 * 1024);
    const auto good = ImageBlocks(image, 0xB0, 0xC0);  // B0, C0, D0
    auto badSum = good[1];
    badSum.back() ^= 0x01;
    auto badNumber = good[1];
    badNumber[0] = 2;
    auto badAddress = good[2];
    badAddress[1] = 0xE0;
    auto badWindow = good[0];
    badWindow[1] = 0x10;
    const std::vector<std::pair<std::vector<Bytes>, const char*>> cases = {
        {{good[0], badSum}, "sum"},
        {{good[0], badNumber}, "number"},
        {{good[0], good[1], badAddress}, "address"},
        {{badWindow}, "window address"},
    };
    for (const auto& [blocks, what] : cases) {
        SimLine line;
        line.Send(HeaderFrame(12, 0xB0));
        for (std::size_t j = 0; j + 1 < blocks.size(); ++j)
            ASSERT_EQ(line.Ask(blocks[j])[3], 0x55) << what;
        EXPECT_EQ(line.Ask(blocks.back()), ReplyBytes(0x00, 0x00)) << what;
        EXPECT_TRUE(line.Sim().State().image.empty()) << what;
        EXPECT_EQ(line.Ask(Frame(0x02)), ReplyBytes(0x02, 0x00)) << what;
    }
}

TEST(SimDownload, RefusedHeaderFailsAtTheFirstBlock) {
    for (const auto& [sizeK, model] : {std::pair{6, 0x00}, {0, 0x00}, {68, 0x00}, {8, 0x11}}) {
        SimLine line;
        line.Send(HeaderFrame(static_cast<std::uint8_t>(sizeK), static_cast<std::uint8_t>(model)));
        EXPECT_TRUE(line.StaysQuiet(150ms));
        EXPECT_EQ(line.Ask(Block(0, 0x80, Bytes(4096, 0xFF))), ReplyBytes(0x00, 0x00));
    }
}

// The front end sends the header before the user picks a file; a cancelled pick leaves the
// device waiting for block 0, and the next command's frame must not be taken for it.
TEST(SimDownload, AFrameWhereABlockBelongsAbandonsTheDownload) {
    SimLine line;
    const auto blocks = ImageBlocks(PatternImage(8 * 1024), 0x00, 0x80);
    line.Send(HeaderFrame(8, 0x00));
    EXPECT_EQ(line.Ask(blocks[0]), ReplyBytes(0x00, 0x55, {0x01}));
    EXPECT_EQ(line.Ask(SettingsFrame()), ReplyBytes(0x06, 0x99));
    EXPECT_EQ(line.Ask(Frame(0x02)), ReplyBytes(0x02, 0x00));
    EXPECT_EQ(line.Sim().State().blocks.size(), 1u);
}

TEST(SimDownload, AnUnfinishedBlockIsGivenUpWithFailure) {
    SimLine line;
    const Bytes block = ImageBlocks(PatternImage(4096), 0x00, 0x80)[0];
    line.Send(HeaderFrame(4, 0x00));
    line.Send(Bytes(block.begin(), block.begin() + 1000));
    EXPECT_EQ(line.ReadBurst(3s), ReplyBytes(0x00, 0x00));
    EXPECT_EQ(line.Ask(SettingsFrame()), ReplyBytes(0x06, 0x99));
}

TEST(SimDownload, ANewHeaderDropsThePreviousImage) {
    SimLine line;
    line.Send(HeaderFrame(4, 0x00));
    EXPECT_EQ(line.Ask(Block(0, 0x80, Bytes(4096, 0x00))), ReplyBytes(0x00, 0x99, {0x01, 0x00}));
    EXPECT_EQ(line.Sim().State().image.size(), 1u);
    line.Send(HeaderFrame(4, 0x00));
    EXPECT_TRUE(line.StaysQuiet(150ms));
    EXPECT_TRUE(line.Sim().State().image.empty());
}

}  // namespace
}  // namespace vortana::sim::test
