// A production station: a job saved and run, its firmware checked before anything is sent, the
// command line in the job's place, and a shift of rounds driven from standard input, each round
// finding its programmers anew.
#include <signal.h>

#include <functional>
#include <set>
#include <sstream>
#include <streambuf>

#include "cli/Interruption.h"
#include "harness/FakeSysfs.h"
#include "harness/SRecordFiles.h"
#include "image/Crc32.h"
#include "shell/Convert.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::size_t kProgrammers = 4;
constexpr std::size_t kFaulty = 2;

// Standard input as an operator gives it: before each line is read its action runs (the
// operator's doings between rounds), then the line comes; after the last one, the input ends.
class OperatorScript : public std::streambuf {
  public:
    struct Step {
        std::function<void()> before;
        std::string line;
    };
    explicit OperatorScript(std::vector<Step> steps) : steps_(std::move(steps)) {}

  protected:
    int_type underflow() override {
        if (next_ == steps_.size())
            return traits_type::eof();
        Step& step = steps_[next_++];
        if (step.before)
            step.before();
        text_ = step.line + "\n";
        setg(text_.data(), text_.data(), text_.data() + text_.size());
        return traits_type::to_int_type(text_[0]);
    }

  private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::string text_;
};

class StationTest : public CliFixture {
  protected:
    StationTest() : image_(vortana::test::RandomBytes(16384, 7)) {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
        WriteImage("image.s19", image_, 0xC000);
    }

    // `job save` of a write on the first `ports` simulators, numbered from 100 by the counter.
    CliResult SaveJob(std::size_t ports, std::vector<std::string> more = {}) const {
        std::vector<std::string> arguments = OnTheImage(
            {"job", "save", File("job.ini")},
            {"--serial", "100", "--serial-file", File("counter"), "--log", File("run.csv")});
        for (std::size_t i = 0; i < ports; ++i)
            arguments.insert(arguments.end(), {"--port", PortOf(i)});
        arguments.insert(arguments.end(), more.begin(), more.end());
        return Run(arguments);
    }

    std::string ImageCrc32() const { return IntToHex(Crc32(image_), 8); }

    std::vector<std::uint8_t> image_;
};

TEST_F(StationTest, ASavedJobRunsAsAWriteOfTheImageItApproved) {
    StartSim();
    const CliResult saved = SaveJob(1);
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, "saved " + File("job.ini") + ": VT8A-C16, " + File("image.s19") +
                             ", image CRC-32 " + ImageCrc32() + ", 1 port\n");
    EXPECT_THAT(ReadFile("job.ini"), HasSubstr("\nfile = image.s19\n"));

    const CliResult run = Run({"run", File("job.ini")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr(PortOf(0) + ": image CRC-32 " + ImageCrc32() + "\n"));
    ASSERT_TRUE(Sim(0).State().header);
    EXPECT_EQ(SerialOf(Sim(0).State()), 100);
    EXPECT_EQ(Sim(0).State().frames.back().code, 0x05);  // erase+program+verify reached
    EXPECT_THAT(ReadFile("run.csv"), HasSubstr(",write," + PortOf(0) + ",100,"));
}

TEST_F(StationTest, AChangedFirmwareIsRefusedWithBothChecksumsAndNothingSent) {
    StartSim();
    ASSERT_EQ(SaveJob(1).status, 0);
    const std::string approved = ImageCrc32();
    image_[100] ^= 0xFF;
    WriteImage("image.s19", image_, 0xC000);

    const CliResult run = Run({"run", File("job.ini")});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "vortana-cli: firmware changed: " + File("image.s19") + " makes CRC-32 " +
                           ImageCrc32() + ", the job approved " + approved + "\n");
    EXPECT_TRUE(Sim(0).State().frames.empty());
    EXPECT_EQ(ReadFile("counter"), "");  // no number taken
}

TEST_F(StationTest, TheCommandLineTakesThePlaceOfTheJobButForItsFirmware) {
    StartSim();
    StartSim();
    ASSERT_EQ(SaveJob(1).status, 0);
    const CliResult run = Run({"run", File("job.ini"), "--port", PortOf(1), "--serial", "500",
                               "--serial-file", File("other-counter")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Sim(0).State().frames.empty());
    EXPECT_EQ(SerialOf(Sim(1).State()), 500);
    EXPECT_EQ(ReadFile("other-counter"), "501\n");

    const CliResult file = Run({"run", File("job.ini"), "--file", File("image.s19")});
    EXPECT_EQ(file.status, 2);
    EXPECT_THAT(file.err, HasSubstr("run does not take --file"));
}

TEST_F(StationTest, AShiftRunsRoundAfterRoundFromStandardInputAndCountsEveryBoard) {
    for (std::size_t i = 0; i < kProgrammers; ++i)
        StartSim();
    ASSERT_EQ(SaveJob(kProgrammers, {"--loop"}).status, 0);
    OperatorScript script({
        {[this] { Sim(kFaulty).InjectFault({sim::FaultKind::WrongStatus}); }, ""},
        {nullptr, "next"},  // no command: asked again
        {nullptr, ""},
    });
    std::istream in(&script);
    const CliResult shift = Run({"run", File("job.ini")}, true, &in);

    EXPECT_EQ(shift.status, 5);  // the failure of round 2
    EXPECT_THAT(shift.out, HasSubstr("round 1: 4 passed, 0 failed, 4 boards; serial numbers 100 "
                                     "to 103\n"));
    EXPECT_THAT(shift.out, HasSubstr("round 2: 3 passed, 1 failed, 4 boards; serial numbers 104 "
                                     "to 107\n"));
    EXPECT_THAT(shift.out, HasSubstr("\x1b[31m" + PortOf(kFaulty) + " "));
    EXPECT_THAT(shift.out, HasSubstr("'next' is no command here."));
    EXPECT_THAT(shift.out, HasSubstr("\nshift ended after 3 rounds: 11 passed, 1 failed, 12 "
                                     "boards; serial numbers 100 to 111\n"));
    EXPECT_EQ(ReadFile("counter"), "112\n");
    for (std::size_t i = 0; i < kProgrammers; ++i)
        EXPECT_EQ(SerialOf(Sim(i).State()), static_cast<std::int64_t>(108 + i));

    const std::string log = ReadFile("run.csv");
    std::set<std::string> logged;
    for (std::int64_t serial = 100; serial < 112; ++serial)
        if (log.find("," + std::to_string(serial) + ",0x") != std::string::npos)
            logged.insert(std::to_string(serial));
    EXPECT_EQ(logged.size(), 12u);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 13);
    EXPECT_THAT(log, HasSubstr("," + PortOf(kFaulty) + ",106,"));
    EXPECT_THAT(log, HasSubstr(",device-failure,5,"));
}

TEST_F(StationTest, EachRoundFindsAUsbProgrammerWhereItIsPluggedInNow) {
    StartSim();
    StartSim();
    vortana::test::FakeSysfs machine;
    LookPortsUpIn(machine.Roots());
    machine.UsbAdapter("ttyUSB0", "1-2", "A10K3Z1Q", PortOf(0));
    ASSERT_EQ(Run({"job", "save", File("job.ini"), "--model", "VT8A-C16", "--file",
                   File("image.s19"), "--port", "usb:A10K3Z1Q", "--loop"})
                  .status,
              0);
    OperatorScript script({{[&machine, this] {
                                machine.Unplug("ttyUSB0");
                                machine.UsbAdapter("ttyUSB1", "1-3", "A10K3Z1Q", PortOf(1));
                            },
                            ""}});
    std::istream in(&script);
    const CliResult shift = Run({"run", File("job.ini")}, false, &in);
    EXPECT_EQ(shift.status, 0) << shift.err;
    EXPECT_THAT(shift.out, HasSubstr("usb:A10K3Z1Q (ttyUSB0): ok in"));
    EXPECT_THAT(shift.out, HasSubstr("usb:A10K3Z1Q (ttyUSB1): ok in"));
    EXPECT_EQ(Sim(1).State().frames.back().code, 0x05);  // round 2 wrote through the new name
}

TEST_F(StationTest, AShiftInJsonHasAnEventARoundAndOneEnd) {
    StartSim();
    ASSERT_EQ(SaveJob(1, {"--loop"}).status, 0);
    std::istringstream in("\nq\n\n");
    const CliResult shift = Run({"run", File("job.ini"), "--json"}, false, &in);
    EXPECT_EQ(shift.status, 0) << shift.err;
    EXPECT_THAT(shift.out, HasSubstr("{\"event\":\"round\",\"round\":2,\"passed\":1,\"failed\":0,"
                                     "\"boards\":1,\"serials\":[[101,101]],\"outcome\":\"ok\","
                                     "\"exit\":0}\n"));
    EXPECT_THAT(shift.out, HasSubstr("{\"event\":\"shift\",\"rounds\":2,\"passed\":2,\"failed\":0,"
                                     "\"boards\":2,\"serials\":[[100,101]]}\n"));
    EXPECT_TRUE(shift.out.ends_with("{\"event\":\"end\",\"outcome\":\"ok\",\"exit\":0}\n"));
    EXPECT_EQ(shift.out.find("\"event\":\"end\""), shift.out.rfind("\"event\":\"end\""));
}

TEST_F(StationTest, AnInterruptionWhileTheShiftWaitsEndsItAtOnce) {
    StartSim();
    ASSERT_EQ(SaveJob(1, {"--loop"}).status, 0);
    OperatorScript script({{[] { SetInterruptionSignal(SIGINT); }, ""}});
    std::istream in(&script);
    const CliResult shift = Run({"run", File("job.ini")}, false, &in);
    SetInterruptionSignal(0);
    EXPECT_EQ(shift.status, 130);
    EXPECT_THAT(shift.out, HasSubstr("shift ended after 1 round: 1 passed"));
    EXPECT_THAT(shift.out, Not(HasSubstr("round 2")));
    EXPECT_EQ(ReadFile("counter"), "101\n");
}

}  // namespace
}  // namespace vortana::cli::test
