#include "image/ImageFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "shell/FileAccess.h"

namespace vortana {
namespace {

const std::vector<ImageSegment> kTwoSegments{{0x1013, {0x02}}, {0x1010, {0x01}}};

TEST(ImageFileWriterTest, TheFormatFollowsTheExtensionWhateverItsCase) {
    EXPECT_EQ(ImageFileFormatFor("a/chip.BIN").format, ImageFileFormat::Binary);
    EXPECT_EQ(ImageFileFormatFor("chip.s19").format, ImageFileFormat::SRecord);
    EXPECT_EQ(ImageFileFormatFor("chip.Srec").format, ImageFileFormat::SRecord);
    EXPECT_EQ(ImageFileFormatFor("chip.hex").format, ImageFileFormat::IntelHex);
    const ImageFileFormatChoice refused = ImageFileFormatFor("chip.txt");
    EXPECT_FALSE(refused.format);
    EXPECT_NE(refused.refusal.find("chip.txt"), std::string::npos);
    EXPECT_NE(refused.refusal.find(".srec"), std::string::npos);
    EXPECT_FALSE(ImageFileFormatFor("bin").format);
}

TEST(ImageFileWriterTest, BinaryRunsFromTheLowestAddressWithGapsErased) {
    EXPECT_EQ(FormatImage(ImageFileFormat::Binary, kTwoSegments), "\x01\xFF\xFF\x02");
}

TEST(ImageFileWriterTest, SRecordsHaveAHeaderSixteenByteS1RecordsAndAnS9) {
    std::vector<std::uint8_t> bytes(17);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    const ImageSegment segment{0xC000, bytes};
    EXPECT_EQ(FormatImage(ImageFileFormat::SRecord, {&segment, 1}),
              "S00A0000766F7274616E61FA\n"
              "S113C000000102030405060708090A0B0C0D0E0FB4\n"
              "S104C010101B\n"
              "S9030000FC\n");
}

TEST(ImageFileWriterTest, IntelHexHasDataRecordsAndAnEndOfFileRecord) {
    EXPECT_EQ(FormatImage(ImageFileFormat::IntelHex, kTwoSegments),
              ":0110100001DE\n"
              ":0110130002DA\n"
              ":00000001FF\n");
}

TEST(ImageFileWriterTest, SegmentsThatOverlapOrPassFFFFAreRefused) {
    const std::vector<ImageSegment> overlapping{{0x1000, {1, 2}}, {0x1001, {3}}};
    EXPECT_THROW(FormatImage(ImageFileFormat::Binary, overlapping), std::invalid_argument);
    const std::vector<ImageSegment> tooHigh{{0xFFFF, {1, 2}}};
    EXPECT_THROW(FormatImage(ImageFileFormat::SRecord, tooHigh), std::invalid_argument);
}

TEST(ImageFileWriterTest, AFileThatCannotBeWrittenLeavesNothingBehind) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "vortana-no-such-folder";
    EXPECT_THROW(
        WriteImageFile((folder / "out.bin").string(), ImageFileFormat::Binary, kTwoSegments),
        EFileError);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace vortana
