#include "sim/CommandLine.h"

#include <gtest/gtest.h>

namespace vortana::sim {
namespace {

ProgramOptions Parse(std::vector<std::string> arguments) {
    return ParseCommandLine(arguments);
}

std::string ErrorOf(std::vector<std::string> arguments) {
    try {
        Parse(std::move(arguments));
    } catch (const UsageError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(CommandLine, DefaultsPaceAtThirtyEightFourHundredWithFullWorkTimes) {
    const ProgramOptions options = Parse({});
    EXPECT_EQ(options.sim.baud, 38400u);
    EXPECT_TRUE(options.sim.pace);
    EXPECT_EQ(options.sim.workScale, 1.0);
    EXPECT_FALSE(options.sim.readProtected);
    EXPECT_TRUE(options.sim.faults.empty());
    EXPECT_FALSE(options.trace);
}

TEST(CommandLine, TakesEveryOptionInBothSpellings) {
    const ProgramOptions options =
        Parse({"--link", "/tmp/prog", "--baud=9600", "--no-pace", "--work-scale", "0.25",
               "--protect", "--fill=chip.bin", "--fault", "late=50", "--fault=hang-up", "--trace",
               "--device", "/dev/ttyUSB0"});
    EXPECT_EQ(options.link, "/tmp/prog");
    EXPECT_EQ(options.sim.baud, 9600u);
    EXPECT_FALSE(options.sim.pace);
    EXPECT_EQ(options.sim.workScale, 0.25);
    EXPECT_TRUE(options.sim.readProtected);
    EXPECT_EQ(options.fill, "chip.bin");
    ASSERT_EQ(options.sim.faults.size(), 2u);
    EXPECT_EQ(options.sim.faults[0].kind, FaultKind::Late);
    EXPECT_EQ(options.sim.faults[0].value, 50u);
    EXPECT_EQ(options.sim.faults[1].kind, FaultKind::HangUp);
    EXPECT_TRUE(options.trace);
    EXPECT_EQ(options.device, "/dev/ttyUSB0");
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    EXPECT_EQ(ErrorOf({"--speed", "1"}), "unknown option '--speed'");
    EXPECT_EQ(ErrorOf({"--link"}), "--link needs PATH");
    EXPECT_EQ(ErrorOf({"--link="}), "--link needs PATH, not an empty text");
    EXPECT_EQ(ErrorOf({"--trace=yes"}), "--trace takes no value");
    for (const char* baud : {"0", "-1", "96OO", "4000001", " 9600"})
        EXPECT_EQ(ErrorOf({"--baud", baud}),
                  std::string("--baud takes a whole number from 1 to 4000000, not '") + baud + "'");
    for (const char* scale : {"-0.5", "nan", "inf", "1e9", "2x"})
        EXPECT_EQ(ErrorOf({"--work-scale", scale}),
                  std::string("--work-scale takes a number from 0 to 1000, not '") + scale + "'");
    EXPECT_EQ(ErrorOf({"--fault", "late=x"}),
              "--fault: the fault 'late' takes a number from 0 to 600000, not 'x'");
}

TEST(CommandLine, FillFileLargerThanTheChipIsRefused) {
    const std::string path = testing::TempDir() + "vortana-sim-fill.bin";
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        const std::vector<char> bytes(65537, 0x5A);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    try {
        LoadFillFile(path);
        ADD_FAILURE() << "a 65537-byte file was taken";
    } catch (const SimError& error) {
        EXPECT_EQ(error.what(), path + " holds 65537 bytes, more than the chip's 65536");
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace vortana::sim
