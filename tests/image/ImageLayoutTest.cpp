#include "image/ImageLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace vortana {
namespace {

ImageLayout Layout(std::string_view flashStart, std::string_view modelCode, std::uint32_t size) {
    const std::optional<ImageLayout> layout = ImageLayout::FromModel(flashStart, modelCode, size);
    EXPECT_TRUE(layout.has_value()) << flashStart << " " << modelCode << " " << size;
    return layout.value_or(ImageLayout{});
}

TEST(ImageLayout, ReadsTheCodeAsANumberAndRefusesWhatTheTablesCannotHold) {
    EXPECT_EQ(Layout("C000", "0xb0", 20480).windowBase, 0xB000u);  // lower case reads as 0xB0
    EXPECT_EQ(Layout("C000", "0xB2", 20480).code, 0xB2);
    const ImageLayout layout = Layout("C000", "0xB0", 20480);
    EXPECT_EQ(layout.start, 0xC000u);
    EXPECT_EQ(layout.startHigh, 0xC0);
    EXPECT_EQ(layout.BlockCount(), 5u);
    EXPECT_EQ(layout.RowCount(), 1280u);
    EXPECT_EQ(Layout("4000", "0x14", 53248).windowBase, 0x1000u);
    EXPECT_FALSE(Layout("8000", "0x00", 32768).HasWindow());

    EXPECT_FALSE(ImageLayout::FromModel("8000", "0x20", 32768));
    EXPECT_FALSE(ImageLayout::FromModel("8000", "0x1", 32768));
    // Code digits that are not hexadecimal read as 0, as every hexadecimal text does.
    EXPECT_EQ(Layout("8000", "0xzz", 32768).code, 0x00);
    EXPECT_FALSE(ImageLayout::FromModel("8000", "0x00", 0));  // no model picked yet
    EXPECT_FALSE(ImageLayout::FromModel("8000", "0x00", 5120));
    EXPECT_FALSE(ImageLayout::FromModel("8000", "0x00", 65536 + 4096));
    EXPECT_TRUE(ImageLayout::FromModel("0000", "0x00", 65536));
    // A start that is not hexadecimal counts as 0.
    EXPECT_EQ(Layout("zz00", "0x00", 4096).start, 0u);
    EXPECT_EQ(Layout("zz00", "0x00", 4096).startHigh, 0u);
}

TEST(ImageLayout, WindowModelsPlaceTheWindowFirstAndRefuseOtherLowAddresses) {
    const ImageLayout layout = Layout("4000", "0x10", 53248);
    EXPECT_EQ(layout.DataIndex(0x1000, 1), 0u);
    EXPECT_EQ(layout.DataIndex(0x1FF0, 16), 0xFF0u);
    EXPECT_EQ(layout.DataIndex(0x4000, 1), 4096u);
    EXPECT_EQ(layout.DataIndex(0xFFF0, 16), 53248u - 16);
    EXPECT_EQ(layout.DataIndex(0x3000, 1), std::nullopt);  // would alias 5000
    EXPECT_EQ(layout.DataIndex(0x3FFF, 2), std::nullopt);
    EXPECT_EQ(layout.DataIndex(0x0800, 1), std::nullopt);
    EXPECT_EQ(layout.DataIndex(0x0FF8, 16), std::nullopt);
    EXPECT_EQ(layout.DataIndex(0x1FF8, 16), std::nullopt);  // runs out of the window
    EXPECT_EQ(layout.DataIndex(0x0000, 1), std::nullopt);
    EXPECT_EQ(layout.DataIndex(0xFFF8, 16), std::nullopt);  // past the end of the image

    const ImageLayout b0 = Layout("C000", "0xB0", 20480);
    EXPECT_EQ(b0.DataIndex(0xB000, 1), 0u);
    EXPECT_EQ(b0.DataIndex(0xC000, 1), 4096u);
    EXPECT_EQ(b0.DataIndex(0xA000, 1), std::nullopt);
    EXPECT_EQ(b0.DataIndex(0xBFFF, 2), 0xFFFu);  // C000 follows the window: see below
}

TEST(ImageLayout, DataRunsFromTheWindowIntoTheMainFlashOnlyWhereTheStartFollowsTheWindow) {
    // Every byte must land where the image holds its address.
    const ImageLayout b0 = Layout("C000", "0xB0", 20480);
    EXPECT_EQ(b0.DataIndex(0xBFF0, 28), 0xFF0u);
    EXPECT_EQ(b0.DataIndex(0xB105, 20480 - 0x104), std::nullopt);  // one byte past the end
    EXPECT_EQ(Layout("2000", "0x14", 8192).DataIndex(0x1FF8, 16), 0xFF8u);
    // Where the main flash starts later, the bytes past the window would land on its start.
    EXPECT_EQ(Layout("D000", "0xB2", 16384).DataIndex(0xBFF0, 28), std::nullopt);
}

TEST(ImageLayout, PlainModelsTakeOnlyTheMainFlash) {
    const ImageLayout layout = Layout("8000", "0x00", 32768);
    EXPECT_EQ(layout.DataIndex(0x8000, 16), 0u);
    EXPECT_EQ(layout.DataIndex(0xFFF0, 16), 0x7FF0u);
    EXPECT_EQ(layout.DataIndex(0x7FF8, 16), std::nullopt);
    EXPECT_EQ(layout.DataIndex(0x0000, 16), std::nullopt);
    // A 16 KiB model from 8000 ends at BFFF.
    const ImageLayout small = Layout("8000", "0x00", 16384);
    EXPECT_EQ(small.DataIndex(0xBFFF, 1), 0x3FFFu);
    EXPECT_EQ(small.DataIndex(0xC000, 1), std::nullopt);
    EXPECT_EQ(Layout("0000", "0x00", 65536).DataIndex(0x0000, 16), 0u);
    EXPECT_EQ(Layout("0000", "0x00", 65536).DataIndex(0xFFFF, 1), 0xFFFFu);
}

TEST(ImageLayout, RecordsWithoutDataKeepTheAddressZeroExemption) {
    const ImageLayout plain = Layout("8000", "0x00", 32768);
    EXPECT_TRUE(plain.AcceptsBareAddress(0x0000));
    EXPECT_TRUE(plain.AcceptsBareAddress(0x9000));
    EXPECT_TRUE(plain.AcceptsBareAddress(0xFFFF));
    EXPECT_FALSE(plain.AcceptsBareAddress(0x7000));
    const ImageLayout window = Layout("4000", "0x10", 53248);
    EXPECT_TRUE(window.AcceptsBareAddress(0x0000));
    EXPECT_TRUE(window.AcceptsBareAddress(0x3000));
    EXPECT_FALSE(window.AcceptsBareAddress(0x0800));
}

std::vector<int> BlockAddressBytes(const ImageLayout& layout) {
    std::vector<int> bytes;
    for (std::uint32_t j = 0; j < layout.BlockCount(); ++j)
        bytes.push_back(layout.BlockAddressHigh(j));
    return bytes;
}

TEST(ImageLayout, BlockAddressBytesPerCode) {
    EXPECT_EQ(BlockAddressBytes(Layout("8000", "0x00", 32768)),
              (std::vector<int>{0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0}));
    EXPECT_EQ(BlockAddressBytes(Layout("C000", "0xB0", 20480)),
              (std::vector<int>{0xB0, 0xC0, 0xD0, 0xE0, 0xF0}));
    EXPECT_EQ(BlockAddressBytes(Layout("C000", "0xB2", 20480)),
              (std::vector<int>{0xB0, 0xC0, 0xD0, 0xE0, 0xF0}));
    EXPECT_EQ(BlockAddressBytes(Layout("C000", "0x10", 20480)),
              (std::vector<int>{0x10, 0xC0, 0xD0, 0xE0, 0xF0}));
    EXPECT_EQ(BlockAddressBytes(Layout("E000", "0x14", 12288)),
              (std::vector<int>{0x10, 0xE0, 0xF0}));
    // Modulo 256 past the top of the address space.
    EXPECT_EQ(BlockAddressBytes(Layout("E000", "0x00", 16384)),
              (std::vector<int>{0xE0, 0xF0, 0x00, 0x10}));
}

TEST(ImageLayout, RowAddressesRunThroughTheWindowThenFromTheStart) {
    const ImageLayout b0 = Layout("C000", "0xB0", 20480);
    EXPECT_EQ(b0.RowAddress(0), 0xB000u);
    EXPECT_EQ(b0.RowAddress(255), 0xBFF0u);
    EXPECT_EQ(b0.RowAddress(256), 0xC000u);
    EXPECT_EQ(b0.RowAddress(b0.RowCount() - 1), 0xFFF0u);
    const ImageLayout w10 = Layout("4000", "0x10", 53248);
    EXPECT_EQ(w10.RowAddress(255), 0x1FF0u);
    EXPECT_EQ(w10.RowAddress(256), 0x4000u);
    const ImageLayout plain = Layout("8000", "0x00", 32768);
    EXPECT_EQ(plain.RowAddress(0), 0x8000u);
    EXPECT_EQ(plain.RowAddress(plain.RowCount() - 1), 0xFFF0u);
    // A 64 KiB image from 8000 runs past FFFF; the listing shows five digits there.
    EXPECT_EQ(Layout("8000", "0x00", 65536).RowAddress(4095), 0x17FF0u);
}

}  // namespace
}  // namespace vortana
