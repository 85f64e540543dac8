// Production runs: one job on several programmers at once, serial numbers that never repeat,
// the counter file, the summary and the run log.
#include <set>
#include <thread>

#include "harness/SRecordFiles.h"
#include "production/SerialCounter.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;

constexpr std::size_t kProgrammers = 4;
constexpr std::size_t kFaulty = 2;

class ProductionTest : public CliFixture {
  protected:
    ProductionTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
        WriteImage("image.s19", vortana::test::RandomBytes(16384, 5), 0xC000);
        for (std::size_t i = 0; i < kProgrammers; ++i)
            StartSim();
    }

    std::vector<std::string> WriteOnAll() const {
        // A healthy programmer needs half a second; the silent one waits out the time-out.
        std::vector<std::string> arguments{"write", "--model",     "VT8A-C16", "--timeout",
                                           "3",     "--late-wait", "0.5"};
        arguments.insert(arguments.end(), {"--file", File("image.s19"), "--serial", "100"});
        arguments.insert(arguments.end(), {"--serial-file", File("counter")});
        arguments.insert(arguments.end(), {"--log", File("run.csv")});
        for (std::size_t i = 0; i < kProgrammers; ++i)
            arguments.insert(arguments.end(), {"--port", PortOf(i)});
        return arguments;
    }
};

TEST_F(ProductionTest, AFaultyProgrammerFailsAloneAndNumbersNeverRepeatAcrossRuns) {
    Sim(kFaulty).InjectFault({sim::FaultKind::Silence});
    const CliResult first = Run(WriteOnAll());
    EXPECT_EQ(first.status, 6);
    EXPECT_EQ(ReadFile("counter"), "104\n");
    std::set<std::int64_t> serials;
    for (std::size_t i = 0; i < kProgrammers; ++i) {
        const sim::DeviceState state = Sim(i).State();
        if (i == kFaulty) {
            EXPECT_FALSE(state.header);  // silent from the settings on, the job's first step
            continue;
        }
        ASSERT_TRUE(state.header);
        serials.insert(SerialOf(state));
        EXPECT_EQ(state.frames.back().code, 0x05) << i;  // erase+program+verify reached
    }
    EXPECT_EQ(serials, (std::set<std::int64_t>{100, 101, 103}));
    EXPECT_THAT(first.out, HasSubstr("serial  checksum    crc32     outcome"));
    EXPECT_THAT(first.out, HasSubstr(PortOf(1)));
    EXPECT_THAT(first.err, HasSubstr(PortOf(kFaulty) + ": failed (timed-out)"));

    const CliResult second = Run(WriteOnAll());
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(ReadFile("counter"), "108\n");
    for (std::size_t i = 0; i < kProgrammers; ++i)
        EXPECT_EQ(SerialOf(Sim(i).State()), static_cast<std::int64_t>(104 + i));
    const std::string log = ReadFile("run.csv");
    EXPECT_TRUE(
        log.starts_with("time,command,port,serial,checksum,outcome,exit,duration_s,message,"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1 + 2 * static_cast<int>(kProgrammers));
    EXPECT_THAT(log, HasSubstr(",write," + PortOf(kFaulty) + ",102,"));
    EXPECT_THAT(log, HasSubstr(",timed-out,6,"));
}

}  // namespace
}  // namespace vortana::cli::test
