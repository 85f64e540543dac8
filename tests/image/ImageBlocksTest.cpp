#include "image/ImageBlocks.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace vortana {
namespace {

using BlockTable = std::array<std::uint8_t, kImageBlockCount * kImageBlockSize>;

ImageLayout Layout(std::string_view flashStart, std::string_view modelCode, std::uint32_t size) {
    return ImageLayout::FromModel(flashStart, modelCode, size).value();
}

std::span<const std::uint8_t> Block(const BlockTable& table, std::size_t j) {
    return std::span(table).subspan(j * kImageBlockSize, kImageBlockSize);
}

std::vector<int> SumBytes(std::span<const std::uint8_t> block) {
    return {block[4098], block[4099], block[4100], block[4101]};
}

TEST(ImageBlocks, AnErasedImageGivesFixedSumsAndChecksum) {
    const std::vector<std::uint8_t> image(32768, 0xFF);
    BlockTable table{};
    BuildImageBlocks(image, Layout("8000", "0x00", 32768), table);
    for (std::size_t j = 0; j < 8; ++j) {
        SCOPED_TRACE(j);
        const auto block = Block(table, j);
        EXPECT_EQ(block[0], j);
        EXPECT_EQ(block[1], 0x80 + 0x10 * j);
        EXPECT_EQ(SumBytes(block), (std::vector<int>{0x00, 0x0F, 0xF0, 0x00}));
        EXPECT_EQ(std::count(block.begin() + 2, block.begin() + 4098, 0xFF), 4096);
    }
    EXPECT_EQ(ImageCheckSum(image), 0x7F8000u);
    EXPECT_EQ(CheckSumText(ImageCheckSum(image)), "CheckSum:  0x007F8000");
}

TEST(ImageBlocks, CarriesTheDataInOrderWithItsSumMostSignificantFirst) {
    std::vector<std::uint8_t> image(20480);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 4096);
    BlockTable table{};
    BuildImageBlocks(image, Layout("C000", "0xB0", 20480), table);
    const std::vector<int> addressBytes = {0xB0, 0xC0, 0xD0, 0xE0, 0xF0};
    for (std::size_t j = 0; j < 5; ++j) {
        SCOPED_TRACE(j);
        const auto block = Block(table, j);
        const auto data = std::span(image).subspan(j * 4096, 4096);
        EXPECT_EQ(block[0], j);
        EXPECT_EQ(block[1], addressBytes[j]);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), block.begin() + 2));
        const std::uint32_t sum = std::accumulate(data.begin(), data.end(), 0u);
        EXPECT_EQ(
            SumBytes(block),
            (std::vector<int>{static_cast<int>(sum >> 24), static_cast<int>(sum >> 16 & 0xFF),
                              static_cast<int>(sum >> 8 & 0xFF), static_cast<int>(sum & 0xFF)}));
    }
    EXPECT_EQ(CheckSumText(0xABCDEF), "CheckSum:  0x00ABCDEF");
}

TEST(ImageBlocks, BlocksPastTheImageKeepWhatTheyHeld) {
    BlockTable table;
    table.fill(0xAA);
    BuildImageBlocks(std::vector<std::uint8_t>(12288, 0x00), Layout("4000", "0x10", 12288), table);
    EXPECT_EQ(Block(table, 0)[1], 0x10);
    EXPECT_EQ(Block(table, 1)[1], 0x40);
    EXPECT_EQ(Block(table, 2)[1], 0x50);
    EXPECT_EQ(SumBytes(Block(table, 2)), (std::vector<int>{0, 0, 0, 0}));
    for (std::size_t i = 3 * kImageBlockSize; i < table.size(); ++i)
        ASSERT_EQ(table[i], 0xAA) << i;
}

TEST(ImageBlocks, AFullImageFillsAllSixteenBlocks) {
    BlockTable table{};
    BuildImageBlocks(std::vector<std::uint8_t>(65536, 0x01), Layout("0000", "0x00", 65536), table);
    EXPECT_EQ(Block(table, 15)[0], 15);
    EXPECT_EQ(Block(table, 15)[1], 0xF0);
    EXPECT_EQ(SumBytes(Block(table, 15)), (std::vector<int>{0, 0, 0x10, 0}));
    // Fewer values than the layout asks for build only the whole blocks they cover.
    table.fill(0xAA);
    BuildImageBlocks(std::vector<std::uint8_t>(4096, 0x01), Layout("0000", "0x00", 65536), table);
    EXPECT_EQ(Block(table, 0)[2], 0x01);
    EXPECT_EQ(Block(table, 1)[0], 0xAA);
}

}  // namespace
}  // namespace vortana
