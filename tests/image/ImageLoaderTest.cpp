#include "image/ImageLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>

#include "image/HexRow.h"
#include "image/ImagePlacement.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A folder of its own for the files a test has srec_cat write, removed with the test.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "vortana-image-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string File(std::string_view name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

Bytes RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

void WriteFile(const std::string& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

std::string_view AsText(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Runs the real srec_cat with `arguments`; the test fails if it does.
void SrecCat(const std::string& arguments) {
    const std::string command = std::string(SREC_CAT) + " " + arguments + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// What srec_cat writes of `bytes` placed at `address` with the output format `output`.
std::string SrecCatOutput(const TempDir& dir, const Bytes& bytes, std::uint32_t address,
                          const std::string& output) {
    WriteFile(dir.File("in.bin"), AsText(bytes));
    SrecCat(dir.File("in.bin") + " -binary -offset " + std::to_string(address) + " -o " +
            dir.File("out") + " " + output);
    return ReadFile(dir.File("out"));
}

// S19 text of `bytes` placed at `address`: 16-bit addresses, 16 data bytes a record.
std::string SRecordsOf(const TempDir& dir, const Bytes& bytes, std::uint32_t address,
                       const std::string& options = "") {
    return SrecCatOutput(
        dir, bytes, address,
        "-motorola -Address_Length=2 -Output_Block_Size 16 -execution-start-address=0 " + options);
}

std::unique_ptr<SessionState> Session(std::string_view flashStart, std::string_view code,
                                      std::uint32_t imageSize) {
    auto session = std::make_unique<SessionState>();
    session->FlashStart = flashStart;
    session->ModelCode = code;
    session->ImageSize = imageSize;
    return session;
}

// The data bytes of the session's first `count` blocks, one after the other.
Bytes BlockData(const SessionState& session, std::size_t count) {
    Bytes data;
    for (std::size_t j = 0; j < count; ++j) {
        const auto block = session.ImageBlocks.begin() + j * kImageBlockSize;
        data.insert(data.end(), block + 2, block + 2 + 4096);
    }
    return data;
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'F')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

TEST(ImageLoader, LoadsSrecCatFilesByteForByteWithEachLineEnd) {
    const TempDir dir;
    const Bytes binary = RandomBytes(32768, 1);
    for (const std::string lineEnds : {"nl", "crlf", "cr"}) {
        SCOPED_TRACE(lineEnds);
        const std::string file = SRecordsOf(dir, binary, 0x8000, "-line-termination=" + lineEnds);
        ASSERT_EQ(file.find('\n') != std::string::npos, lineEnds != "cr");
        auto session = Session("8000", "0x00", 32768);

        const ImageLoadOutcome outcome = LoadImage(file, *session);
        ASSERT_FALSE(outcome.failure) << outcome.failure->message;
        EXPECT_EQ(BlockData(*session, 8), binary);
        const std::uint32_t sum = std::accumulate(binary.begin(), binary.end(), 0u);
        EXPECT_EQ(outcome.checkSumText, "CheckSum:  0x" + IntToHex(sum, 8));
        ASSERT_EQ(outcome.listingRows.size(), 2048u);
        // srec_cat writes upper case, so the listing reads like a read-out of the same bytes.
        for (std::size_t r = 0; r < 2048; ++r) {
            ASSERT_EQ(outcome.listingRows[r],
                      HexRow(0x8000 + 16 * r, std::span(binary).subspan(r * 16).first<16>()));
        }
        EXPECT_EQ(session->ImageText[0], "$" + IntToHex(binary[0], 2));
        EXPECT_EQ(session->BlockSum, 0);
    }
}

TEST(ImageLoader, AWindowModelTakesTheWindowAndTheMainFlashFromOneFile) {
    const TempDir dir;
    const Bytes window = RandomBytes(4096, 2);
    const Bytes main = RandomBytes(48 * 1024, 3);
    WriteFile(dir.File("window.bin"), AsText(window));
    WriteFile(dir.File("main.bin"), AsText(main));
    SrecCat(dir.File("window.bin") + " -binary -offset 0x1000 " + dir.File("main.bin") +
            " -binary -offset 0x4000 -o " + dir.File("both.s19") +
            " -motorola -Address_Length=2 -Output_Block_Size 32 -CRLF");
    auto session = Session("4000", "0x14", 53248);

    const ImageLoadOutcome outcome = LoadImage(ReadFile(dir.File("both.s19")), *session);
    ASSERT_FALSE(outcome.failure) << outcome.failure->message;
    Bytes expected = window;
    expected.insert(expected.end(), main.begin(), main.end());
    EXPECT_EQ(BlockData(*session, 13), expected);
    EXPECT_EQ(session->ImageBlocks[1], 0x10);
    EXPECT_EQ(session->ImageBlocks[kImageBlockSize + 1], 0x40);
    EXPECT_EQ(outcome.listingRows[255].substr(0, 4), "1FF0");
    EXPECT_EQ(outcome.listingRows[256].substr(0, 4), "4000");
}

TEST(ImageLoader, ACrLfFileFromSrecCatLoadsAlikeByLinesAndByPairsOfCharacters) {
    const TempDir dir;
    const std::string file = SRecordsOf(dir, RandomBytes(5000, 4), 0xC123, "-CRLF");
    const ImageLayout layout = *ImageLayout::FromModel("C000", "0xB0", 20480);
    ImagePlacement byLine(layout);
    ASSERT_FALSE(ParseSRecordFile(file, byLine));
    ImagePlacement byPair(layout);
    SRecordParser parser(byPair);
    for (std::size_t i = 0; i + 2 < file.size(); i += 2)
        parser.Token(std::string_view(file).substr(i, 2));
    ASSERT_FALSE(parser.Failure());
    EXPECT_TRUE(std::ranges::equal(byLine.Values(), byPair.Values()));
    EXPECT_EQ(byLine.Values()[4096 + 0x123], RandomBytes(1, 4)[0]);
}

TEST(ImageLoader, LowerCaseDigitsLoadTheirValuesAndListAsWritten) {
    const TempDir dir;
    const Bytes binary = RandomBytes(4096, 5);
    const std::string file = Lowered(SRecordsOf(dir, binary, 0xF000));
    ASSERT_NE(file.find("S1"), std::string::npos);
    auto session = Session("F000", "0x00", 4096);

    const ImageLoadOutcome outcome = LoadImage(file, *session);
    ASSERT_FALSE(outcome.failure) << outcome.failure->message;
    EXPECT_EQ(BlockData(*session, 1), binary);
    for (std::size_t r = 0; r < 256; ++r) {
        const std::string upper =
            HexRow(0xF000 + 16 * r, std::span(binary).subspan(r * 16).first<16>());
        ASSERT_EQ(outcome.listingRows[r], upper.substr(0, 7) + Lowered(upper.substr(7)));
    }
    EXPECT_EQ(session->ImageText[0], Lowered("$" + IntToHex(binary[0], 2)));
}

TEST(ImageLoader, ALastRecordWithoutLineEndIsLoadedWhenItsChecksumIsRight) {
    const TempDir dir;
    const Bytes binary = RandomBytes(4096, 6);
    std::string file =
        SRecordsOf(dir, binary, 0x8000, "-disable=data-count -disable=exec-start-address");
    ASSERT_EQ(file.back(), '\n');
    file.pop_back();
    auto session = Session("8000", "0x00", 4096);
    const ImageLoadOutcome outcome = LoadImage(file, *session);
    ASSERT_FALSE(outcome.failure) << outcome.failure->message;
    EXPECT_EQ(BlockData(*session, 1), binary);

    file.back() = file.back() == '0' ? '1' : '0';  // spoil the last checksum
    const ImageLoadOutcome spoiled = LoadImage(file, *session);
    ASSERT_TRUE(spoiled.failure);
    EXPECT_EQ(spoiled.failure->message.substr(0, 25), "文件加载错误，8FF0");
}

TEST(ImageLoader, ARecordRunningFromTheWindowIntoTheMainFlashLoadsWhereItsAddressesSay) {
    const TempDir dir;
    const Bytes binary = RandomBytes(20480 - 0x105, 10);
    // 28 bytes a record from B105 on: the record at BFF4 runs on to C00F.
    const std::string file =
        SrecCatOutput(dir, binary, 0xB105, "-motorola -Address_Length=2 -Output_Block_Size=28");
    ASSERT_NE(file.find("S11FBFF4"), std::string::npos);
    auto session = Session("C000", "0xB0", 20480);

    const ImageLoadOutcome outcome = LoadImage(file, *session);
    ASSERT_FALSE(outcome.failure) << outcome.failure->message;
    Bytes expected(0x105, 0xFF);
    expected.insert(expected.end(), binary.begin(), binary.end());
    EXPECT_EQ(BlockData(*session, 5), expected);
}

TEST(ImageLoader, RefusesFilesThatAreNotSixteenBitSRecordsNamingTheLine) {
    struct Refused {
        std::string output;  // srec_cat's output format
        std::string_view message;
    };
    const Refused refused[] = {
        {"-motorola -address-length=3", "文件加载错误，第2行S2记录的地址超过16位"},
        {"-motorola -address-length=4", "文件加载错误，第2行S3记录的地址超过16位"},
        {"-intel", "文件加载错误，第1行不是S记录"},
        {"-binary", "文件加载错误，第1行不是S记录"},
    };
    const TempDir dir;
    const Bytes firmware = RandomBytes(16384, 11);
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.output);
        auto session = Session("C000", "0x00", 16384);
        const ImageLoadOutcome outcome =
            LoadImage(SrecCatOutput(dir, firmware, 0xC000, r.output), *session);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->message, r.message);
    }
    // Nothing to load: an empty file, srec_cat's header, count and end records alone, or S1
    // records without data.
    for (const std::string& empty :
         {std::string(), SRecordsOf(dir, {}, 0xC000), std::string("\xEF\xBB\xBF\nS1030000FC\n")}) {
        auto session = Session("C000", "0x00", 16384);
        const ImageLoadOutcome outcome = LoadImage(empty, *session);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->message, "文件加载错误，文件中没有S1数据记录");
    }
}

TEST(ImageLoader, AFileWhoseDataIsErasedBytesLeavesTheImageErased) {
    auto session = Session("8000", "0x00", 32768);
    const ImageLoadOutcome outcome =
        LoadImage("S0030000FC\r\nS1048000FF7C\r\nS9030000FC\r\n", *session);
    ASSERT_FALSE(outcome.failure);
    EXPECT_EQ(outcome.checkSumText, "CheckSum:  0x007F8000");
    for (std::size_t j = 0; j < 8; ++j) {
        const std::uint8_t* block = session->ImageBlocks.data() + j * kImageBlockSize;
        EXPECT_EQ(block[1], 0x80 + 0x10 * j);
        EXPECT_EQ((Bytes{block + 4098, block + 4102}), (Bytes{0x00, 0x0F, 0xF0, 0x00}));
    }
    EXPECT_EQ(session->ImageText[32767], "$FF");
    EXPECT_EQ(outcome.listingRows.back(),
              "FFF0:: FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF ");
}

TEST(ImageLoader, AFullImageTakesDataAtAddressZero) {
    const TempDir dir;
    const Bytes binary = RandomBytes(65536, 7);
    auto session = Session("0000", "0x00", 65536);
    const ImageLoadOutcome outcome = LoadImage(SRecordsOf(dir, binary, 0), *session);
    ASSERT_FALSE(outcome.failure) << outcome.failure->message;
    EXPECT_EQ(BlockData(*session, 16), binary);
    EXPECT_EQ(outcome.listingRows.size(), 4096u);
    EXPECT_EQ(session->ImageBlocks[15 * kImageBlockSize + 1], 0xF0);
}

TEST(ImageLoader, ARefusedFileChangesNothingInTheSession) {
    struct Refused {
        std::string_view file;
        std::string_view message;
    };
    const Refused refused[] = {
        {"S1048000FF7C\nS10480013F00\n", "文件加载错误，8001地址行校验和错误 3B"},
        {"S1048000FF7C\nS1047000FF8C\n", "所选型号跟烧写文件地址不符，请重新选择！"},
        {"S1048000FF7C\nS1040000FF00\n", "所选型号跟烧写文件地址不符，请重新选择！"},
        {"S1048000FF7C\nS1058FFF1122\n", "所选型号跟烧写文件地址不符，请重新选择！"},
        {"S1048000FF7C\nS9037000FF\n", "所选型号跟烧写文件地址不符，请重新选择！"},
        {"S1048000FF7C\nS102\nS1048001FF7B\n", "文件加载错误，第2行记录长度错误 02"},
        {"S1048000FF7C\nS1058001FF\n", "文件加载错误，8001地址行校验和错误 7A"},
    };
    const TempDir dir;
    const Bytes before = RandomBytes(4096, 8);
    auto session = Session("8000", "0x00", 4096);
    ASSERT_FALSE(LoadImage(SRecordsOf(dir, before, 0x8000), *session).failure);
    session->ImageBlocks[kImageBlockSize] = 0x5A;  // a block the image does not reach
    const auto imageText = session->ImageText;
    const auto imageBlocks = session->ImageBlocks;

    for (const Refused& r : refused) {
        SCOPED_TRACE(r.file);
        const ImageLoadOutcome outcome = LoadImage(r.file, *session);
        ASSERT_TRUE(outcome.failure);
        EXPECT_EQ(outcome.failure->message, r.message);
        EXPECT_EQ(outcome.checkSumText, "");
        EXPECT_TRUE(outcome.listingRows.empty());
        EXPECT_TRUE(session->ImageText == imageText);
        EXPECT_TRUE(session->ImageBlocks == imageBlocks);
    }
}

TEST(ImageLoader, RefusesToLoadForAModelItCannotBuildAnImageFor) {
    auto session = std::make_unique<SessionState>();  // no model picked
    session->ImageText[0] = "$12";
    const ImageLoadOutcome outcome = LoadImage("S1048000FF7C\n", *session);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->message, kNoModelMessage);
    EXPECT_EQ(session->ImageText[0], "$12");
}

}  // namespace
}  // namespace vortana
