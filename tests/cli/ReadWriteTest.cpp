// write then read, for every model code, and the read-out saved in each format.
#include <algorithm>

#include "harness/SRecordFiles.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/ReadOnlyPath.h"

namespace vortana::cli::test {
namespace {

using vortana::test::RandomBytes;

struct ModelCase {
    const char* code;
    const char* start;
    const char* size;
    std::uint32_t window;  // 0: none
};

// One model of each code; the image bytes differ from model to model.
constexpr ModelCase kModels[] = {
    {"0x00", "C000", "16K", 0},      {"0x10", "4000", "48K", 0x1000},
    {"0x14", "2000", "56K", 0x1000}, {"0xB0", "C000", "16K", 0xB000},
    {"0xB2", "C000", "16K", 0xB000},
};

class ReadWriteTest : public CliFixture {
  protected:
    // Writes an S-record file for `model` (window and main flash filled) and returns the binary
    // a read-out of the whole image must give: from the lowest address, gaps 0xFF.
    std::vector<std::uint8_t> ImageFor(const ModelCase& model, unsigned seed) {
        const std::uint32_t start = std::stoul(model.start, nullptr, 16);
        const std::vector<std::uint8_t> main = RandomBytes(0x10000 - start, seed);
        WriteImage("image.s19", main, start);
        const std::uint32_t base = model.window != 0 ? model.window : start;
        std::vector<std::uint8_t> expected(0x10000 - base, 0xFF);
        std::copy(main.begin(), main.end(), expected.begin() + (start - base));
        if (model.window != 0) {
            const std::vector<std::uint8_t> window = RandomBytes(4096, seed + 100);
            AppendImage("image.s19", window, model.window);
            std::copy(window.begin(), window.end(), expected.begin());
        }
        return expected;
    }

    std::vector<std::uint8_t> Bytes(const std::string& name) const {
        const std::string text = ReadFile(name);
        return {text.begin(), text.end()};
    }
};

TEST_F(ReadWriteTest, WriteThenReadGivesBackTheFilesBytesForEveryModelCode) {
    for (const ModelCase& model : kModels) {
        SCOPED_TRACE(model.code);
        const std::string name = std::string("M") + model.code;
        WriteCatalogue({CatalogueLine(name, model.start, "FFFF", model.size, model.code)});
        const std::vector<std::uint8_t> expected = ImageFor(model, model.code[3]);
        StartSim();
        const std::string port = PortOf(&model - kModels);
        const CliResult write =
            Run({"write", "--port", port, "--model", name, "--file", File("image.s19")});
        ASSERT_EQ(write.status, 0) << write.err;
        const CliResult read =
            Run({"read", "--port", port, "--model", name, "--output", File("out.bin")});
        ASSERT_EQ(read.status, 0) << read.err;
        EXPECT_TRUE(Bytes("out.bin") == expected);
    }
}

TEST_F(ReadWriteTest, EveryOutputFormatReadsBackThroughSrecCatByteForByte) {
    const ModelCase& model = kModels[3];
    WriteCatalogue({CatalogueLine("VT8B-W16", model.start, "FFFF", model.size, model.code)});
    const std::vector<std::uint8_t> expected = ImageFor(model, 7);
    StartSim();
    ASSERT_EQ(
        Run({"write", "--port", PortOf(0), "--model", "VT8B-W16", "--file", File("image.s19")})
            .status,
        0);
    for (const char* output : {"out.bin", "out.s19", "out.srec", "out.hex"})
        ASSERT_EQ(
            Run({"read", "--port", PortOf(0), "--model", "VT8B-W16", "--output", File(output)})
                .status,
            0);
    EXPECT_TRUE(Bytes("out.bin") == expected);
    EXPECT_EQ(ReadFile("out.srec"), ReadFile("out.s19"));
    const std::vector<std::pair<const char*, const char*>> inputs{{"out.s19", "-motorola"},
                                                                  {"out.hex", "-intel"}};
    for (const auto& [file, format] : inputs) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(vortana::test::RunProgram({SREC_CAT, File(file), format, "-offset", "-0xB000",
                                               "-o", File("back.bin"), "-binary"}));
        EXPECT_TRUE(Bytes("back.bin") == expected);
    }
}

TEST_F(ReadWriteTest, AnOutputNameOfNoKnownFormatIsRefusedBeforeAnythingIsSent) {
    WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
    sim::Simulator& sim = StartSim();
    const CliResult result =
        Run({"read", "--port", PortOf(0), "--model", "VT8A-C16", "--output", File("out.txt")});
    EXPECT_EQ(result.status, 3);
    EXPECT_THAT(result.err, ::testing::HasSubstr(".bin"));
    EXPECT_TRUE(sim.State().frames.empty());
    EXPECT_FALSE(std::filesystem::exists(File("out.txt")));
}

TEST_F(ReadWriteTest, AnOutputThatCannotBeCreatedIsRefusedBeforeAnythingIsSent) {
    WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
    sim::Simulator& sim = StartSim();
    std::filesystem::create_directory(File("folder.bin"));
    std::filesystem::create_directory(File("read-only"));
    const vortana::test::ReadOnlyPath readOnly(File("read-only"));
    for (const std::string& output :
         {File("missing/out.bin"), File("read-only/out.bin"), File("folder.bin")}) {
        const CliResult result =
            Run({"read", "--port", PortOf(0), "--model", "VT8A-C16", "--output", output});
        EXPECT_EQ(result.status, 3);
        EXPECT_THAT(result.err, ::testing::HasSubstr(output));
    }
    EXPECT_TRUE(sim.State().frames.empty());
}

TEST_F(ReadWriteTest, TwiceSavesOnlyWhenBothReadOutsAgree) {
    WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
    sim::SimConfig config = sim::SimConfig::Immediate();
    config.fill = sim::Bytes(0x10000, 0x99);
    sim::Simulator& sim = StartSim(config);
    const std::vector<std::string> read{"read",     "--port",  PortOf(0),  "--model",
                                        "VT8A-C16", "--twice", "--output", File("out.bin")};
    ASSERT_EQ(Run(read).status, 0);
    EXPECT_TRUE(Bytes("out.bin") == std::vector<std::uint8_t>(16384, 0x99));
    std::filesystem::remove(File("out.bin"));

    sim.InjectFault({sim::FaultKind::Garbage});  // the first read-out's first page is noise
    const CliResult noisy = Run(read);
    EXPECT_EQ(noisy.status, 5);
    EXPECT_THAT(noisy.err, ::testing::HasSubstr("the two read-outs differ at C000"));
    EXPECT_FALSE(std::filesystem::exists(File("out.bin")));
}

}  // namespace
}  // namespace vortana::cli::test
