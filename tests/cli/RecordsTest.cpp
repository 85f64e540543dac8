// Serial numbers and their records: the range each mode takes, the counter's limits and its lock,
// a port given twice, and the log, which is opened before anything happens, holds whole lines
// only, and whose failure the run reports once without hiding what happened to the chips.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/Job.h"
#include "harness/SRecordFiles.h"
#include "image/Crc32.h"
#include "production/JobError.h"
#include "production/RunLog.h"
#include "production/SerialCounter.h"
#include "production/SerialRange.h"
#include "shell/Convert.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/ReadOnlyPath.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;

constexpr std::size_t kRoom = 4096;  // one page of file data

// A folder with room for kRoom bytes of file data: a tmpfs of that size mounted on it where the
// test may mount (as root), else a file-size limit on this process with SIGXFSZ ignored, so a
// write past it fails as on a full disk.
class OnePageOfRoom {
  public:
    explicit OnePageOfRoom(std::string folder) : folder_(std::move(folder)) {
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=4k") == 0;
        if (mounted_)
            return;
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit tight = saved_;
        tight.rlim_cur = kRoom;
        limited_ = ::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &tight) == 0;
    }
    ~OnePageOfRoom() {
        if (mounted_)
            ::umount(folder_.c_str());
        else if (limited_)
            ::setrlimit(RLIMIT_FSIZE, &saved_);
    }
    bool Holds() const { return mounted_ || limited_; }

  private:
    std::string folder_;
    bool mounted_ = false;
    bool limited_ = false;
    rlimit saved_{};
};

class RecordsTest : public CliFixture {
  protected:
    RecordsTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
        WriteImage("image.s19", vortana::test::RandomBytes(16384, 7), 0xC000);
    }

    std::vector<std::string> Load(const std::vector<std::string>& more) const {
        return OnTheImage({"load"}, more);
    }
};

TEST_F(RecordsTest, OfflineEachProgrammerTakesCountTimesIncrementAfterTheSettings) {
    StartSim();
    StartSim();
    const CliResult result =
        Run(Load({"--port", PortOf(0), "--port", PortOf(1), "--mode", "offline", "--count", "100",
                  "--serial", "100", "--increment", "1", "--serial-file", File("counter")}));
    ASSERT_EQ(result.status, 0) << result.err;
    for (std::size_t i = 0; i < 2; ++i) {
        const sim::DeviceState state = Sim(i).State();
        ASSERT_TRUE(state.settings && state.header);
        EXPECT_EQ(state.frames.front().code, 0x06);
        EXPECT_EQ(state.settings->mode, 0xAA);
        EXPECT_EQ(SerialOf(state), 100 + 100 * static_cast<std::int64_t>(i));
    }
    EXPECT_EQ(ReadFile("counter"), "300\n");
}

TEST_F(RecordsTest, ThePortTwiceOrALogThatCannotBeOpenedStopsTheJobBeforeANumberOrAByte) {
    sim::Simulator& sim = StartSim();
    std::filesystem::create_symlink(PortOf(0), File("alias"));
    std::filesystem::create_directory(File("logs"));
    const vortana::test::ReadOnlyPath logs(File("logs"));
    WriteFile("counter", "5\n");
    for (const std::string& twice : {PortOf(0), File("alias")}) {
        const CliResult result =
            Run(Load({"--port", twice, "--port", PortOf(0), "--serial-file", File("counter")}));
        EXPECT_EQ(result.status, 2);
        EXPECT_THAT(result.err, HasSubstr("--port " + PortOf(0)));
    }
    const CliResult log = Run(Load(
        {"--port", PortOf(0), "--serial-file", File("counter"), "--log", File("logs/run.csv")}));
    EXPECT_EQ(log.status, 3);
    EXPECT_THAT(log.err, HasSubstr("cannot open the log"));
    EXPECT_EQ(ReadFile("counter"), "5\n");
    EXPECT_TRUE(sim.State().frames.empty());
}

TEST_F(RecordsTest, AFullDiskLeavesWholeLinesInTheLogAndNamesTheChipsNotRecorded) {
    std::filesystem::create_directory(File("small"));
    const OnePageOfRoom room(File("small"));
    if (!room.Holds())
        GTEST_SKIP() << "neither a tmpfs mount nor a file-size limit is allowed here";
    const std::string earlier = std::string(kRoom - 80, 'x') + "\n";  // room for one record
    WriteFile("small/run.csv", earlier);
    std::vector<PortOutcome> outcomes;
    for (int i = 0; i < 3; ++i) {
        outcomes.emplace_back().port = "/dev/ttyUSB" + std::to_string(i);
        outcomes.back().serial = 10 + i;
    }
    const std::string failure = RunLog(File("small/run.csv")).WriteRecords("write", outcomes);
    EXPECT_THAT(failure, HasSubstr("not recorded: /dev/ttyUSB1 (serial 11, ok), "
                                   "/dev/ttyUSB2 (serial 12, ok)"));
    const std::string log = ReadFile("small/run.csv");
    ASSERT_TRUE(log.starts_with(earlier));
    const std::string added = log.substr(earlier.size());
    EXPECT_TRUE(added.ends_with(",write,/dev/ttyUSB0,10,,ok,0,0.0,,,,,,,\n")) << added;
    EXPECT_EQ(std::count(added.begin(), added.end(), '\n'), 1);
}

TEST_F(RecordsTest, ARecordNotWrittenFailsTheRunInItsOneEndEventHidingNoChipsFailure) {
    StartSim();
    const CliResult result =
        Run(Load({"--port", PortOf(0), "--serial", "7", "--log", "/dev/full", "--json"}));
    EXPECT_EQ(result.status, 3);
    EXPECT_THAT(result.out, HasSubstr("\"port\":\"" + PortOf(0) + "\",\"outcome\":\"ok\""));
    EXPECT_TRUE(result.out.ends_with(
        "{\"event\":\"end\",\"outcome\":\"file-refused\",\"exit\":3,\"message\":\"cannot write "
        "the log /dev/full: No space left on device; not recorded: " +
        PortOf(0) + " (serial 7, ok)\"}\n"))
        << result.out;
    EXPECT_EQ(result.out.find("\"event\":\"end\""), result.out.rfind("\"event\":\"end\""));

    StartSim();  // nothing downloaded: programming fails
    const CliResult failed = Run({"program", "--port", PortOf(1), "--log", "/dev/full"});
    EXPECT_EQ(failed.status, 5);
    EXPECT_THAT(failed.err, HasSubstr("not recorded: " + PortOf(1) + " (device-failure)"));
}

TEST_F(RecordsTest, AWriteRecordsItsModelFileCrc32StationOperatorAndVersion) {
    StartSim();
    const std::string crc = IntToHex(Crc32(vortana::test::RandomBytes(16384, 7)), 8);
    const CliResult result = Run({"write", "--port", PortOf(0), "--model", "VT8A-C16", "--file",
                                  File("image.s19"), "--station", "line 2, bay \"B\"", "--operator",
                                  "王芳", "--log", File("run.csv"), "--json"});
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_THAT(result.out, HasSubstr("\"text\":\"image CRC-32 " + crc + "\""));
    EXPECT_THAT(result.out, HasSubstr(",\"crc32\":\"" + crc + "\","));
    EXPECT_THAT(result.out, HasSubstr(",\"model\":\"VT8A-C16\",\"file\":\"" + File("image.s19") +
                                      "\",\"station\":\"line 2, bay \\\"B\\\"\",\"operator\":"
                                      "\"王芳\",\"version\":\"" VORTANA_VERSION "\"}"));
    const std::string log = ReadFile("run.csv");
    EXPECT_TRUE(
        log.starts_with("time,command,port,serial,checksum,outcome,exit,duration_s,message,"
                        "model,file,crc32,station,operator,version\n"))
        << log;
    EXPECT_TRUE(log.ends_with(",VT8A-C16," + File("image.s19") + "," + crc +
                              ",\"line 2, bay \"\"B\"\"\",王芳," VORTANA_VERSION "\n"))
        << log;
}

}  // namespace
}  // namespace vortana::cli::test
