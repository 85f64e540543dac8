#include "image/ImagePlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace vortana {
namespace {

ImageLayout Layout(std::string_view flashStart, std::string_view modelCode, std::uint32_t size) {
    return ImageLayout::FromModel(flashStart, modelCode, size).value();
}

SRecordHead Head(std::string_view type, std::uint8_t count, std::uint16_t address) {
    return {type, count, "", address};
}

TEST(ImagePlacement, StartsErasedAndStoresTheFileCharactersAndTheirValues) {
    ImagePlacement image(Layout("8000", "0x00", 4096));
    ASSERT_EQ(image.Values().size(), 4096u);
    EXPECT_EQ(image.Chars(0), "FF");
    EXPECT_EQ(image.Values()[4095], 0xFF);

    const SRecordHead head = Head("S1", 3 + 4, 0x8010);
    ASSERT_TRUE(image.Fits(head));
    image.Store(head, "a1B20cxy");
    EXPECT_EQ(image.Chars(0x10), "a1");
    EXPECT_EQ(image.Chars(0x11), "B2");
    EXPECT_EQ(image.Chars(0x13), "xy");  // kept as written, counted as 0
    EXPECT_EQ(image.Values()[0x10], 0xA1);
    EXPECT_EQ(image.Values()[0x12], 0x0C);
    EXPECT_EQ(image.Values()[0x13], 0x00);
    EXPECT_EQ(image.Chars(0x0F), "FF");
    EXPECT_EQ(image.Chars(0x14), "FF");
}

TEST(ImagePlacement, ALaterRecordOverwritesAnEarlierOne) {
    ImagePlacement image(Layout("8000", "0x00", 4096));
    image.Store(Head("S1", 5, 0x8000), "1122");
    image.Store(Head("S1", 4, 0x8001), "33");
    EXPECT_EQ(image.Chars(0), "11");
    EXPECT_EQ(image.Chars(1), "33");
    EXPECT_EQ(image.Values()[1], 0x33);
}

TEST(ImagePlacement, FitsAsksForWholeDataInTheImageAndLetsBareRecordsThroughAtZero) {
    ImagePlacement image(Layout("4000", "0x10", 8192));
    EXPECT_TRUE(image.Fits(Head("S1", 3 + 16, 0x1000)));
    EXPECT_TRUE(image.Fits(Head("S1", 3 + 16, 0x4FF0)));
    EXPECT_FALSE(image.Fits(Head("S1", 3 + 16, 0x4FF8)));  // past the image's end
    EXPECT_FALSE(image.Fits(Head("S1", 3 + 16, 0x3000)));
    EXPECT_FALSE(image.Fits(Head("S1", 3 + 1, 0x0000)));  // data at 0000 below the start
    EXPECT_TRUE(image.Fits(Head("S1", 3, 0x0000)));       // no data: the exemption holds
    EXPECT_TRUE(image.Fits(Head("S0", 3 + 20, 0x0000)));  // header data is never stored
    EXPECT_TRUE(image.Fits(Head("S9", 3, 0x0000)));
    EXPECT_FALSE(image.Fits(Head("S9", 3, 0x0800)));
    EXPECT_TRUE(image.Fits(Head("S9", 3, 0x3000)));  // maps into the image: no data to refuse
}

TEST(ImagePlacement, StoreNeverWritesWhatTheImageDidNotAccept) {
    ImagePlacement image(Layout("8000", "0x00", 4096));
    image.Store(Head("S1", 3 + 2, 0x8FFF), "1122");  // one byte past the end
    image.Store(Head("S1", 3 + 2, 0x7FFF), "3344");  // one byte below the start
    image.Store(Head("S1", 3 + 2, 0x8000), "55");    // data shorter than the count says
    for (std::uint8_t value : image.Values())
        ASSERT_EQ(value, 0xFF);
}

TEST(ImagePlacement, CopiesDollarTextsIntoTheImageEntriesOnly) {
    ImagePlacement image(Layout("8000", "0x00", 4096));
    image.Store(Head("S1", 4, 0x8001), "ab");
    std::vector<std::string> entries(4096 + 2, "$12");
    image.CopyTo(entries);
    EXPECT_EQ(entries[0], "$FF");
    EXPECT_EQ(entries[1], "$ab");
    EXPECT_EQ(entries[4095], "$FF");
    EXPECT_EQ(entries[4096], "$12");
    std::vector<std::string> fewer(16);
    image.CopyTo(fewer);  // a shorter table gets only what it has room for
    EXPECT_EQ(fewer[15], "$FF");
}

}  // namespace
}  // namespace vortana
