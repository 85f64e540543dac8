// The quiet rule before each command, on a paced simulator sending bursts of its own.
#include <thread>

#include "cli/Connection.h"
#include "production/JobError.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ConnectionTest : public CliFixture {
  protected:
    ConnectionTest() : sim(StartSim(sim::SimConfig{})), connection(PortOf(0)) {}

    // Waits until the first bytes of a burst the simulator sends have been read.
    void AwaitBytesComing() {
        const Clock::time_point deadline = Clock::now() + 5s;
        while (connection.IsQuiet() && Clock::now() < deadline)
            std::this_thread::sleep_for(5ms);
        ASSERT_FALSE(connection.IsQuiet());
    }

    sim::Simulator& sim;
    Connection connection;
};

TEST_F(ConnectionTest, AQuietLineCostsNoWaitAndBytesStillComingAreWaitedOutAndDropped) {
    EXPECT_EQ(connection.LetLineGoQuiet(), 0ms);

    sim.SendRaw(sim::Noise(1500));  // 0.4 s on the paced line
    AwaitBytesComing();
    EXPECT_GT(connection.LetLineGoQuiet(), 0ms);
    EXPECT_FALSE(connection.NextBurst(Clock::now() + 300ms))
        << "the whole burst was waited out and dropped, none of it is left for the command";
    EXPECT_TRUE(connection.IsQuiet());
}

TEST_F(ConnectionTest, ALineThatNeverGoesQuietFailsAsTheProgrammerStillSending) {
    sim.SendRaw(sim::Noise(65535));  // 17 s on the paced line
    AwaitBytesComing();
    try {
        connection.LetLineGoQuiet();
        ADD_FAILURE() << "the line was taken for quiet";
    } catch (const JobError& error) {
        EXPECT_EQ(error.Status(), ExitStatus::DeviceFailure);
        EXPECT_THAT(error.what(), ::testing::HasSubstr("the programmer is still sending"));
    }
}

}  // namespace
}  // namespace vortana::cli::test
