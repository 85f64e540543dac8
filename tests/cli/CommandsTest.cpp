// Each command once, against an immediate simulator: what goes over the line and what is
// printed. Faults and production runs have files of their own.
#include <algorithm>
#include <filesystem>

#include "comm/PortDiscovery.h"
#include "harness/SRecordFiles.h"
#include "image/Crc32.h"
#include "shell/Convert.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class CommandsTest : public CliFixture {
  protected:
    CommandsTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00"),
                        CatalogueLine("VT8B-W16", "C000", "FFFF", "16K", "0xB0")});
        WriteImage("image.s19", vortana::test::RandomBytes(16384, 1), 0xC000);
    }
};

TEST_F(CommandsTest, BadCommandLinesEndWithTheUsageStatus) {
    EXPECT_EQ(Run({"flash"}).status, 2);
    EXPECT_EQ(Run({}).status, 2);
    const CliResult notTaken = Run({"erase", "--port", "x", "--file", "a.s19"});
    EXPECT_EQ(notTaken.status, 2);
    EXPECT_THAT(notTaken.err, HasSubstr("erase does not take --file"));
    EXPECT_EQ(Run({"settings", "--port", "x", "--mode", "sideways"}).status, 2);
    EXPECT_EQ(Run({"settings", "--port", "x", "--count", "10000"}).status, 2);
    EXPECT_EQ(Run({"settings"}).status, 2);  // no port
}

TEST_F(CommandsTest, HelpListsTheCommandsAndExitStatusesAndEachCommandsOptions) {
    const CliResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* name : {"ports", "models", "settings", "load", "erase", "program", "verify",
                             "write", "read", "verify-mismatch", "read-protected"})
        EXPECT_THAT(help.out, HasSubstr(name));
    const CliResult read = Run({"read", "--help"});
    EXPECT_EQ(read.status, 0);
    EXPECT_THAT(read.out, HasSubstr("--output FILE"));
    EXPECT_THAT(read.out, HasSubstr("--timeout SECONDS"));
}

TEST_F(CommandsTest, SettingsSendTheChosenModeSupplyCountAndEnables) {
    sim::Simulator& sim = StartSim();
    const CliResult result = Run({"settings", "--port", PortOf(0), "--mode", "offline", "--supply",
                                  "3.3", "--count", "1234", "--erase", "no"});
    EXPECT_EQ(result.status, 0) << result.err;
    const auto settings = sim.State().settings;
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->mode, 0xAA);
    EXPECT_EQ(settings->supply, 0x33);
    EXPECT_EQ(settings->burnCountHigh, 0x12);
    EXPECT_EQ(settings->burnCountLow, 0x34);
    EXPECT_EQ(settings->enables, 0x50);
    EXPECT_THAT(result.out, HasSubstr(PortOf(0) + ": ok"));
}

TEST_F(CommandsTest, LoadDownloadsTheImageWithTheSerialNumberInItsHeader) {
    sim::Simulator& sim = StartSim();
    const CliResult result = Run({"load", "--port", PortOf(0), "--model", "VT8A-C16", "--file",
                                  File("image.s19"), "--serial", "1234567890", "--increment", "3"});
    EXPECT_EQ(result.status, 0) << result.err;
    const sim::DeviceState state = sim.State();
    ASSERT_TRUE(state.header);
    EXPECT_EQ(state.header->sizeK, 16);
    EXPECT_EQ(state.header->serialNumber, (std::array<std::uint8_t, 5>{90, 78, 56, 34, 12}));
    EXPECT_EQ(state.header->increment, 3);
    EXPECT_EQ(state.blocks.size(), 4u);
    EXPECT_THAT(result.out, HasSubstr("reports length 0400"));
}

TEST_F(CommandsTest, EraseProgramAndVerifyEachSendTheirCommand) {
    sim::Simulator& sim = StartSim();
    ASSERT_EQ(Run({"load", "--port", PortOf(0), "--model", "VT8A-C16", "--file", File("image.s19")})
                  .status,
              0);
    for (const char* command : {"erase", "program", "verify"})
        EXPECT_EQ(Run({command, "--port", PortOf(0), "--model", "VT8A-C16"}).status, 0) << command;
    std::vector<std::uint8_t> codes;
    for (const sim::ReceivedFrame& frame : sim.State().frames)
        codes.push_back(frame.code);
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{0x00, 0x01, 0x02, 0x03}));
    const auto expected = vortana::test::RandomBytes(16384, 1);
    EXPECT_TRUE(std::ranges::equal(sim.State().chip.Read(0xC000, 16384), expected));
}

TEST_F(CommandsTest, CrcPrintsTheImagesCrc32AndSizeAndRefusesAFileAsLoadDoes) {
    const CliResult result = Run({"crc", File("image.s19"), "--model", "VT8A-C16"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "image CRC-32 " +
                              IntToHex(Crc32(vortana::test::RandomBytes(16384, 1)), 8) +
                              "\nimage size 16384 bytes\n");
    WriteFile("bad.s19", "S1FF\n");
    EXPECT_EQ(Run({"crc", File("bad.s19"), "--model", "VT8B-W16"}).status, 3);
    EXPECT_EQ(Run({"crc", "--model", "VT8B-W16"}).status, 2);
}

TEST_F(CommandsTest, ModelsListsTheCatalogueAndRefusesABadLineWithItsReason) {
    WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00"),
                    CatalogueLine("VT8X-BIG", "0000", "FFFF", "128K", "0x00")});
    const CliResult result = Run({"models"});
    EXPECT_EQ(result.status, 3);
    EXPECT_THAT(result.out, HasSubstr("VT8A-C16  C000-FFFF  16K  image 16 KiB  code 0x00"));
    EXPECT_THAT(result.err, HasSubstr("line 2 refused: "));
    EXPECT_THAT(result.err, HasSubstr("128K"));
    std::filesystem::remove(File("MCUtype.txt"));
    const CliResult missing = Run({"models"});
    EXPECT_EQ(missing.status, 3);
    EXPECT_THAT(missing.err, HasSubstr("--catalogue FILE names another"));
}

TEST_F(CommandsTest, PortsListsEveryDevicePresent) {
    const CliResult result = Run({"ports"});
    EXPECT_EQ(result.status, 0);
    const std::vector<PortInfo> ports = DiscoverPorts();
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'),
              static_cast<std::ptrdiff_t>(ports.size()));
    for (const PortInfo& port : ports)
        EXPECT_THAT(result.out, HasSubstr(port.path));
}

TEST_F(CommandsTest, JsonGivesOneObjectPerLineEndingWithTheOutcome) {
    StartSim();
    const CliResult result = Run({"settings", "--port", PortOf(0), "--json"});
    EXPECT_EQ(result.status, 0);
    std::istringstream lines(result.out);
    std::string line;
    std::vector<std::string> objects;
    while (std::getline(lines, line)) {
        EXPECT_TRUE(line.starts_with("{\"event\":\"") && line.ends_with("}")) << line;
        objects.push_back(line);
    }
    ASSERT_GE(objects.size(), 3u);
    EXPECT_THAT(objects[objects.size() - 2], HasSubstr("\"event\":\"result\""));
    EXPECT_THAT(objects[objects.size() - 2], HasSubstr("\"outcome\":\"ok\",\"exit\":0"));
    EXPECT_EQ(objects.back(), "{\"event\":\"end\",\"outcome\":\"ok\",\"exit\":0}");
}

TEST_F(CommandsTest, ATerminalGetsRedrawnBarsAndAPipePlainLines) {
    StartSim();
    const std::vector<std::string> load{"load",     "--port", PortOf(0),        "--model",
                                        "VT8A-C16", "--file", File("image.s19")};
    const CliResult terminal = Run(load, true);
    EXPECT_EQ(terminal.status, 0);
    EXPECT_THAT(terminal.out, HasSubstr("\x1b[1F\x1b[2K"));
    EXPECT_THAT(terminal.out,
                HasSubstr("download             [" + std::string(30, '#') + "] 100 %"));
    const CliResult pipe = Run(load);
    EXPECT_THAT(pipe.out, Not(HasSubstr("\x1b")));
    EXPECT_THAT(pipe.out, HasSubstr(PortOf(0) + ": download 50 %\n"));
}

}  // namespace
}  // namespace vortana::cli::test
