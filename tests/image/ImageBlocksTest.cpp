#include "image/ImageBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(ImageBlocks, CarriesEachBlocksDataWithItsSumMostSignificantFirst) {
    // Each block filled with one value, so its sum is 4096 times that value.
    const std::uint8_t fill[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
    const std::vector<std::vector<int>> sums = {{0x00, 0x00, 0x00, 0x00},
                                                {0x00, 0x00, 0x10, 0x00},
                                                {0x00, 0x07, 0xF0, 0x00},
                                                {0x00, 0x08, 0x00, 0x00},
                                                {0x00, 0x0F, 0xF0, 0x00}};
    const std::vector<int> addressBytes = {0xB0, 0xC0, 0xD0, 0xE0, 0xF0};
    std::vector<std::uint8_t> image;
    for (std::uint8_t value : fill)
        image.insert(image.end(), 4096, value);
    BlockTable table{};
    BuildImageBlocks(image, Layout("C000", "0xB0", 20480), table);
    for (std::size_t j = 0; j < 5; ++j) {
        SCOPED_TRACE(j);
        const auto block = Block(table, j);
        EXPECT_EQ(block[0], j);
        EXPECT_EQ(block[1], addressBytes[j]);
        EXPECT_EQ(std::count(block.begin() + 2, block.begin() + 4098, fill[j]), 4096);
        EXPECT_EQ(SumBytes(block), sums[j]);
    }
    EXPECT_EQ(ImageCheckSum(image), 0xFF000u + 0x80000u + 0x7F000u + 0x1000u);
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

TEST(ImageBlocks, Crc32CoversTheImagesDataInBlockOrderAndNothingElse) {
    std::vector<std::uint8_t> image(12288);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
    BlockTable table;
    table.fill(0xAA);  // numbers, addresses, sums and the blocks past the image stay out
    BuildImageBlocks(image, Layout("C000", "0xB0", 12288), table);
    // python3 -c "import zlib; print('%08X' % zlib.crc32(bytes((i*7+(i>>12))&255 for i in
    //     range(12288))))"
    EXPECT_EQ(ImageBlocksCrc32(table, 12288), 0x83507A83u);
}

}  // namespace
}  // namespace vortana
