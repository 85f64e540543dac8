// Every way a job ends badly, with its exit status and a line that says why; nothing is sent
// for input refused before the run, and a failed read leaves no file.
#include "harness/SRecordFiles.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;
using vortana::test::RandomBytes;

class FaultsTest : public CliFixture {
  protected:
    FaultsTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00"),
                        CatalogueLine("VT8X-BIG", "0000", "FFFF", "128K", "0x00")});
        WriteImage("image.s19", RandomBytes(16384, 3), 0xC000);
    }

    CliResult Load(const std::string& file = "image.s19") {
        return Run({"load", "--port", PortOf(0), "--model", "VT8A-C16", "--file", File(file)});
    }
};

TEST_F(FaultsTest, NoAnswerWithinTheTimeOutEndsWithTheTimeOutStatus) {
    StartSim().InjectFault({sim::FaultKind::Silence});
    const CliResult result =
        Run({"erase", "--port", PortOf(0), "--timeout", "0.3", "--late-wait", "0.5"});
    EXPECT_EQ(result.status, 6);
    EXPECT_THAT(result.err, HasSubstr("erase: no answer from the programmer within 0.3 s; no late "
                                      "answer within 0.5 s"));
}

TEST_F(FaultsTest, ALateAnswerIsToldWithTheTimeOutAndNeverTakenForTheNextCommands) {
    StartSim();
    ASSERT_EQ(Load().status, 0);
    Sim(0).InjectFault({sim::FaultKind::Late, 800});
    const CliResult erase = Run({"erase", "--port", PortOf(0), "--timeout", "0.3"});
    EXPECT_EQ(erase.status, 6);
    EXPECT_THAT(erase.err, ::testing::ContainsRegex(
                               "within 0.3 s; late answer after 0\\.[0-9] s: erase succeeded"));
    EXPECT_EQ(Run({"verify", "--port", PortOf(0)}).status, 7) << "the chip is blank";
}

TEST_F(FaultsTest, AReadOutThatGetsAnEarlierOnesLeftoverPagesFailsAndSavesNothing) {
    StartSim();  // pages 200 ms apart: the time-out comes after the second of four
    const CliResult timedOut = Run({"read", "--port", PortOf(0), "--model", "VT8A-C16", "--output",
                                    File("out.bin"), "--timeout", "0.3", "--late-wait", "0"});
    ASSERT_EQ(timedOut.status, 6);
    const CliResult result =
        Run({"read", "--port", PortOf(0), "--model", "VT8A-C16", "--output", File("out.bin")});
    EXPECT_EQ(result.status, 5);
    EXPECT_THAT(result.err,
                HasSubstr("read-out: the programmer sent more than the chip's 4 pages"));
    EXPECT_FALSE(std::filesystem::exists(File("out.bin")));
}

TEST_F(FaultsTest, TheDevicesFailureEndsWithTheDeviceFailureStatus) {
    StartSim();  // nothing downloaded: programming fails
    const CliResult result = Run({"program", "--port", PortOf(0)});
    EXPECT_EQ(result.status, 5);
    EXPECT_THAT(result.err, HasSubstr("program: the programmer reported failure"));
}

TEST_F(FaultsTest, AnUnexpectedStatusIsADeviceFailureAtOnce) {
    StartSim().InjectFault({sim::FaultKind::WrongStatus});
    const CliResult result = Run({"settings", "--port", PortOf(0)});
    EXPECT_EQ(result.status, 5);
    EXPECT_THAT(result.err, HasSubstr("status 5A"));
}

TEST_F(FaultsTest, AReadProtectedChipEndsWithItsStatusAndLeavesNoOutputFile) {
    sim::SimConfig config = sim::SimConfig::Immediate();
    config.readProtected = true;
    StartSim(config);
    const CliResult read =
        Run({"read", "--port", PortOf(0), "--model", "VT8A-C16", "--output", File("out.s19")});
    EXPECT_EQ(read.status, 8);
    EXPECT_THAT(read.err, HasSubstr("read-out: the chip is read-protected"));
    EXPECT_FALSE(std::filesystem::exists(File("out.s19")));
    ASSERT_EQ(Load().status, 0);
    EXPECT_EQ(Run({"verify", "--port", PortOf(0)}).status, 8);
}

TEST_F(FaultsTest, AVerifyMismatchNamesTheAddressAndBothBytes) {
    std::vector<std::uint8_t> other = RandomBytes(16384, 3);
    other[0x123] = static_cast<std::uint8_t>(~other[0x123]);
    WriteImage("other.s19", other, 0xC000);
    StartSim();
    ASSERT_EQ(Load().status, 0);
    ASSERT_EQ(Run({"program", "--port", PortOf(0)}).status, 0);
    ASSERT_EQ(Load("other.s19").status, 0);
    const CliResult result = Run({"verify", "--port", PortOf(0)});
    EXPECT_EQ(result.status, 7);
    const std::vector<std::uint8_t> programmed = RandomBytes(16384, 3);
    char expected[64];
    std::snprintf(expected, sizeof expected, "verify mismatch at C123: wrote %02X, read back %02X",
                  other[0x123], programmed[0x123]);
    EXPECT_THAT(result.err, HasSubstr(expected));
}

TEST_F(FaultsTest, APortThatIsNotThereIsAPortFailureWithItsReason) {
    const CliResult result = Run({"erase", "--port", File("ttyNone")});
    EXPECT_EQ(result.status, 4);
    EXPECT_THAT(result.err, HasSubstr("no such port"));
}

TEST_F(FaultsTest, TheLineGoingAwayMidDownloadIsAPortFailure) {
    StartSim().InjectFault({sim::FaultKind::HangUp});
    const CliResult result = Load();
    EXPECT_EQ(result.status, 4);
    EXPECT_THAT(result.err, HasSubstr("went away"));
}

TEST_F(FaultsTest, ARefusedImageFileIsToldWithItsLineAndNothingIsSent) {
    sim::Simulator& sim = StartSim();
    WriteFile("bad.s19", "S1130000\n");
    const CliResult bad = Load("bad.s19");
    EXPECT_EQ(bad.status, 3);
    EXPECT_THAT(bad.err, HasSubstr("bad.s19 refused: "));
    const CliResult missing = Load("missing.s19");
    EXPECT_EQ(missing.status, 3);
    EXPECT_THAT(missing.err, HasSubstr("No such file or directory"));
    EXPECT_TRUE(sim.State().frames.empty());
}

TEST_F(FaultsTest, ARefusedCatalogueLineIsToldWithItsReasonAndNothingIsSent) {
    sim::Simulator& sim = StartSim();
    const CliResult result =
        Run({"load", "--port", PortOf(0), "--model", "VT8X-BIG", "--file", File("image.s19")});
    EXPECT_EQ(result.status, 3);
    EXPECT_THAT(result.err, HasSubstr("catalogue line 2 refused: "));
    EXPECT_TRUE(sim.State().frames.empty());
}

}  // namespace
}  // namespace vortana::cli::test
