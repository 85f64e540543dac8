// The vortana-sim program, run as a script or a newcomer runs it.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "base/UniqueFd.h"
#include "harness/SimLine.h"
#include "sim/Fault.h"

namespace vortana::sim::test {
namespace {

// The program with its standard output and error on pipes; killed if still running at the end.
class Program {
  public:
    explicit Program(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), VORTANA_SIM_PROGRAM);
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe");
        out_ = UniqueFd(out[0]);
        err_ = UniqueFd(err[0]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("cannot start the program");
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    // Standard output up to its first line end.
    std::string FirstLine() {
        std::string line;
        char c;
        pollfd in{out_.Get(), POLLIN, 0};
        while (::poll(&in, 1, 5000) > 0 && ::read(out_.Get(), &c, 1) == 1 && c != '\n')
            line += c;
        return line;
    }
    // Waits for the program to end; returns its exit status, or -1 when it was killed.
    int Wait() {
        int status = 0;
        ::waitpid(std::exchange(pid_, -1), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output() { return ReadAll(out_.Get()); }
    std::string Errors() { return ReadAll(err_.Get()); }
    void Signal(int signal) { ::kill(pid_, signal); }

  private:
    static std::string ReadAll(int fd) {
        std::string text;
        char chunk[4096];
        ssize_t count;
        while ((count = ::read(fd, chunk, sizeof chunk)) > 0)
            text.append(chunk, static_cast<std::size_t>(count));
        return text;
    }

    pid_t pid_ = -1;
    UniqueFd out_;
    UniqueFd err_;
};

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid())))
        .string();
}

// Opens `path` raw, sends a settings frame, and returns the 5-byte reply (fewer bytes when it
// does not come within 3 s).
Bytes AskSettings(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY));
    if (!fd)
        return {};
    termios settings{};
    ::tcgetattr(fd.Get(), &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd.Get(), TCSANOW, &settings);
    const Bytes frame = SettingsFrame();
    if (::write(fd.Get(), frame.data(), frame.size()) != 9)
        return {};
    Bytes reply(5);
    std::size_t got = 0;
    pollfd in{fd.Get(), POLLIN, 0};
    while (got < reply.size() && ::poll(&in, 1, 3000) > 0) {
        const ssize_t count = ::read(fd.Get(), reply.data() + got, reply.size() - got);
        if (count <= 0)
            break;
        got += static_cast<std::size_t>(count);
    }
    reply.resize(got);
    return reply;
}

TEST(SimProgram, ALinkedLineAnswersSettingsAndGoesAwayOnExit) {
    const std::string link = TempPath("vortana-sim-link");
    std::filesystem::remove(link);
    std::filesystem::create_symlink("/nonexistent", link);  // an old link is replaced
    Program program({"--link", link, "--no-pace", "--trace"});
    const std::string path = program.FirstLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    EXPECT_EQ(std::filesystem::read_symlink(link), path);

    // Opened, asked and closed twice, as the front end does on every change of port.
    EXPECT_EQ(AskSettings(link), ReplyBytes(0x06, 0x99));
    EXPECT_EQ(AskSettings(link), ReplyBytes(0x06, 0x99));
    // The front end closed the line; the simulator still serves it and ends on request.
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(), 0);
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    const std::string trace = program.Errors();
    EXPECT_NE(trace.find("<- 68 06 05 55 50 00 00 00 16  settings: mode 0x55, supply 0x50, burn "
                         "count 00 00, erase on, verify on"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("-> 68 06 02 99 16  settings reply: success"), std::string::npos);
}

TEST(SimProgram, HelpDocumentsEveryOptionAndFault) {
    Program program({"--help"});
    const std::string help = program.Output();
    EXPECT_EQ(program.Wait(), 0);
    for (const char* option : {"--link", "--device", "--baud", "--no-pace", "--work-scale",
                               "--protect", "--fill", "--fault", "--trace", "--help"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    for (const FaultInfo& fault : kFaults)
        EXPECT_NE(help.find(std::string("\n  ") + fault.name), std::string::npos) << fault.name;
    EXPECT_NE(help.find("Bad input"), std::string::npos);
}

TEST(SimProgram, BadCommandLinesAndFilesEndWithAClearMessage) {
    const std::string missing = TempPath("vortana-sim-missing");
    const std::pair<std::vector<std::string>, std::pair<int, std::string>> cases[] = {
        {{"--fault", "nope"}, {2, "vortana-sim: --fault: unknown fault 'nope'\n"}},
        {{"--baud"}, {2, "vortana-sim: --baud needs N\n"}},
        {{"--fill", missing}, {1, "vortana-sim: cannot read " + missing}},
        {{"--device", "/dev/null"}, {1, "vortana-sim: /dev/null is not a serial line"}},
    };
    for (const auto& [arguments, expected] : cases) {
        Program program(arguments);
        EXPECT_EQ(program.Wait(), expected.first) << arguments[0];
        EXPECT_EQ(program.Errors().rfind(expected.second, 0), 0u) << arguments[0];
        EXPECT_EQ(program.Output(), "");
    }
}

}  // namespace
}  // namespace vortana::sim::test
