// How a run ends from outside: a signal to the real program mid-run (build/vortana-cli as a
// process of its own, against a paced simulator) or before its job, and standard output that
// cannot be written.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "base/UniqueFd.h"
#include "cli/Interruption.h"
#include "cli/Program.h"
#include "harness/SRecordFiles.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;

constexpr int kGuardMs = 30000;  // only against a run that hangs: nothing here is timed

// The download under way: a progress event past 0 %.
const std::regex kProgressShown(R"("step":"download","percent":[1-9])");

struct Process {
    pid_t pid = -1;
    UniqueFd out;  // its standard output
};

Process Spawn(const std::vector<std::string>& arguments, const std::string& errorFile) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe");
    Process process{-1, UniqueFd(ends[0])};
    const UniqueFd writeEnd(ends[1]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::posix_spawn(&process.pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    return process;
}

// Reads `fd` until what was read matches `until`, or to its end when `until` is null.
std::string Read(int fd, const std::regex* until) {
    std::string text;
    char buffer[4096];
    pollfd readable{fd, POLLIN, 0};
    while (!(until && std::regex_search(text, *until)) && ::poll(&readable, 1, kGuardMs) == 1) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

int ExitStatusOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class EndOfRunTest : public CliFixture {
  protected:
    EndOfRunTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
        WriteImage("image.s19", vortana::test::RandomBytes(16384, 7), 0xC000);
    }

    // The log has the line of serial number `serial`: interrupted, its status 128 + `signal`.
    void ExpectInterruptedInLog(int serial, int signal) const {
        const std::regex line(",write,[^,]+," + std::to_string(serial) +
                              ",0x[0-9A-F]{8},interrupted," + std::to_string(128 + signal) + ",");
        EXPECT_TRUE(std::regex_search(ReadFile("run.csv"), line)) << ReadFile("run.csv");
    }
};

TEST_F(EndOfRunTest, ASignalMidRunEndsItInterruptedWithItsRecordAndStatus128PlusTheSignal) {
    std::size_t sims = 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        SCOPED_TRACE(signal);
        StartSim(sim::SimConfig{});  // paced at 38400 baud: the download lasts seconds
        const std::string port = PortOf(sims++);
        const int serial = 100 + signal;
        Process cli =
            Spawn({VORTANA_CLI_PATH, "write", "--port", port, "--model", "VT8A-C16", "--file",
                   File("image.s19"), "--serial", std::to_string(serial), "--log", File("run.csv"),
                   "--json", "--catalogue", File("MCUtype.txt")},
                  File("err.txt"));
        ASSERT_TRUE(std::regex_search(Read(cli.out.Get(), &kProgressShown), kProgressShown));
        if (signal == SIGPIPE)
            cli.out.Reset();  // the reader goes away: the next write raises it
        else
            ::kill(cli.pid, signal);
        const std::string out = cli.out ? Read(cli.out.Get(), nullptr) : "";
        EXPECT_EQ(ExitStatusOf(cli.pid), 128 + signal) << ReadFile("err.txt");
        ExpectInterruptedInLog(serial, signal);
        if (signal == SIGPIPE) {
            EXPECT_THAT(ReadFile("err.txt"), HasSubstr("output not written: Broken pipe"));
            continue;
        }
        const std::string end = "{\"event\":\"end\",\"outcome\":\"interrupted\",\"exit\":";
        EXPECT_THAT(out, HasSubstr(end + std::to_string(128 + signal) + "}\n"));
        EXPECT_EQ(out.find(end), out.rfind(end));  // one end event
    }
}

TEST_F(EndOfRunTest, ASignalBeforeTheJobStartsNoProgrammerAndRecordsItsSerialNumber) {
    const sim::Simulator& sim = StartSim();
    SetInterruptionSignal(SIGTERM);
    const CliResult result = Run({"write", "--port", PortOf(0), "--model", "VT8A-C16", "--file",
                                  File("image.s19"), "--serial", "100", "--log", File("run.csv")});
    SetInterruptionSignal(0);
    EXPECT_EQ(result.status, 128 + SIGTERM);
    EXPECT_TRUE(sim.State().frames.empty());
    EXPECT_THAT(result.err, HasSubstr("signal 15 before the programmer was started"));
    ExpectInterruptedInLog(100, SIGTERM);
}

TEST(EndOfRun, OutputNotWrittenFailsARunThatHadNotFailedOtherwise) {
    std::ostringstream err;
    std::ofstream full("/dev/full");
    EXPECT_EQ(RunProgram({{"--help"}}, full, err, {}), 3);
    EXPECT_THAT(err.str(), HasSubstr("output not written: No space left on device"));
    std::ofstream fullToo("/dev/full");
    EXPECT_EQ(RunProgram({{"no-such-command", "--json"}}, fullToo, err, {}), 2);
}

}  // namespace
}  // namespace vortana::cli::test
