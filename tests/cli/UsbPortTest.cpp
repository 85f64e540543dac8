// Programmers named by their USB adapter's serial number: found behind whatever name the adapter
// has at the run's start, one missing failing alone, and no device given two jobs.
#include "cli/PortLookup.h"
#include "harness/FakeSysfs.h"
#include "harness/SRecordFiles.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;

class UsbPortTest : public CliFixture {
  protected:
    UsbPortTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
        WriteImage("image.s19", vortana::test::RandomBytes(16384, 3), 0xC000);
        LookPortsUpIn(machine.Roots());
    }

    std::vector<std::string> Job(const std::string& command, std::vector<std::string> ports) const {
        std::vector<std::string> arguments = OnTheImage({command});
        for (const std::string& port : ports)
            arguments.insert(arguments.end(), {"--port", port});
        return arguments;
    }

    vortana::test::FakeSysfs machine;
};

TEST_F(UsbPortTest, AWriteReachesTheSimulatorBehindTheAdapterCarryingTheSerial) {
    StartSim();
    machine.UsbAdapter("ttyUSB3", "1-2", "A10K3Z1Q", PortOf(0));
    std::vector<std::string> arguments = Job("write", {"usb:A10K3Z1Q"});
    arguments.insert(arguments.end(), {"--log", File("run.csv")});
    const CliResult result = Run(arguments);
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_TRUE(Sim(0).State().header);
    EXPECT_EQ(Sim(0).State().frames.back().code, 0x05);  // erase+program+verify
    EXPECT_THAT(result.out, HasSubstr("usb:A10K3Z1Q (ttyUSB3): ok in"));
    EXPECT_THAT(ReadFile("run.csv"), HasSubstr(",write,usb:A10K3Z1Q,,"));
}

TEST_F(UsbPortTest, AMissingSerialFailsItsPortAloneAndTheOthersGoOn) {
    StartSim();
    machine.UsbAdapter("ttyUSB0", "1-2", "A10K3Z1Q", PortOf(0));
    std::vector<std::string> arguments = Job("load", {"usb:B7", "usb:A10K3Z1Q"});
    arguments.push_back("--json");
    const CliResult result = Run(arguments);
    EXPECT_EQ(result.status, 4);
    EXPECT_THAT(result.out, HasSubstr(R"("port":"usb:B7","outcome":"port-failure","exit":4,)"
                                      R"("message":"no programmer with USB serial B7 is plugged )"
                                      R"(in")"));
    EXPECT_THAT(result.out,
                HasSubstr(R"("port":"usb:A10K3Z1Q","device":"ttyUSB0","outcome":"ok")"));
    EXPECT_TRUE(Sim(0).State().header) << "the other programmer was loaded";
}

TEST_F(UsbPortTest, OneDeviceIsNeverGivenTwoJobs) {
    for (const std::vector<std::string>& ports :
         {std::vector<std::string>{"usb:A1", "usb:A1"}, {"usb:"}})
        EXPECT_EQ(Run(Job("load", ports)).status, 2) << ports.back();

    machine.UsbAdapter("ttyUSB0", "1-2", "A10K3Z1Q");
    const std::string ttyUsb0 = machine.dev.At("ttyUSB0");
    const std::vector<std::string> ports{ttyUsb0, "usb:A10K3Z1Q"};
    const std::vector<FoundPort> found = LookUpPorts(ports, machine.Roots());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].failure, "");
    EXPECT_EQ(found[1].failure, "--port usb:A10K3Z1Q (ttyUSB0) and --port " + ttyUsb0 +
                                    " are the same device: one job per programmer");
}

}  // namespace
}  // namespace vortana::cli::test
