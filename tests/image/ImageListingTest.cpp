#include "image/ImageListing.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

ImageLayout Layout(std::string_view flashStart, std::string_view modelCode, std::uint32_t size) {
    return ImageLayout::FromModel(flashStart, modelCode, size).value();
}

const std::string kErasedCells = "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ";

TEST(ImageListing, AWindowModelListsTheWindowThenTheMainFlashWithoutAGap) {
    std::vector<std::string> entries(65536, "$FF");
    entries[16 * 256] = "$ab";  // first byte of the main flash, lower case as in the file
    const std::vector<std::string> rows = ListingRows(entries, Layout("C000", "0xB0", 20480));
    ASSERT_EQ(rows.size(), 1280u);
    EXPECT_EQ(rows[0], "B000:: " + kErasedCells);
    EXPECT_EQ(rows[255].substr(0, 7), "BFF0:: ");
    EXPECT_EQ(rows[256], "C000:: ab FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ");
    EXPECT_EQ(rows[1279], "FFF0:: " + kErasedCells);
}

}  // namespace
}  // namespace vortana
