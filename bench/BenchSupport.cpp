#include "bench/BenchSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "harness/SRecordFiles.h"
#include "shell/FileAccess.h"

extern char** environ;

namespace vortana::bench {

double MsBetween(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(MsBetween(start, Clock::now()));
    }
    return Median(std::move(times));
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what.c_str());
    std::exit(1);
}

int CountArgument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

void SrecCatToBinary(const std::string& records, const std::string& output) {
    if (!test::RunProgram({test::SrecCatPath(), records, "-motorola", "-o", output, "-binary"}))
        Fail("srec_cat failed on " + records);
}

void CheckSrecCatBinary(const std::string& output, std::span<const std::uint8_t> expected) {
    if (ReadFileBytes(output) != std::string(expected.begin(), expected.end()))
        Fail("srec_cat's binary differs from the original");
}

double SrecCatToBinaryMs(int runs, const std::string& records, const std::string& output,
                         std::span<const std::uint8_t> expected) {
    const double ms = MedianMs(runs, [&] { SrecCatToBinary(records, output); });
    CheckSrecCatBinary(output, expected);
    return ms;
}

void PrintFigure(const char* name, double value) {
    std::printf("figure %s %.4f\n", name, value);
    std::fflush(stdout);
}

MemoryUse ReadMemoryUse() {
    constexpr double kKiBPerMiB = 1024;
    std::ifstream status("/proc/self/status");
    std::optional<double> resident;
    std::optional<double> peak;
    std::string line;
    while (std::getline(status, line)) {
        double kib = 0;
        if (std::sscanf(line.c_str(), "VmRSS: %lf kB", &kib) == 1)
            resident = kib / kKiBPerMiB;
        else if (std::sscanf(line.c_str(), "VmHWM: %lf kB", &kib) == 1)
            peak = kib / kKiBPerMiB;
    }
    if (!resident || !peak)
        Fail("no VmRSS and VmHWM in /proc/self/status");
    return {*resident, *peak};
}

ScratchDir::ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vortana-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder under " + pattern);
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int toChild[2];
    int fromChild[2];
    // Close-on-exec, so that no other child inherits this one's ends and keeps them open.
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
        Fail("cannot make pipes for " + arguments.front());
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    output_ = ::fdopen(fromChild[0], "r");
    if (spawned != 0 || output_ == nullptr)
        Fail("cannot start " + arguments.front());
}

ChildProcess::~ChildProcess() {
    if (pid_ != 0) {
        ::kill(pid_, SIGTERM);
        Wait();
    }
    std::fclose(output_);
}

std::optional<std::string> ChildProcess::ReadLine() {
    char* line = nullptr;
    std::size_t capacity = 0;
    const ssize_t length = ::getline(&line, &capacity, output_);
    std::optional<std::string> text;
    if (length >= 0)
        text.emplace(line, line[length - 1] == '\n' ? length - 1 : length);
    std::free(line);
    return text;
}

void ChildProcess::Write(std::string_view text) {
    if (::write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        Fail("cannot write to a child process's input");
}

int ChildProcess::Wait() {
    if (input_ >= 0)
        ::close(input_);
    input_ = -1;
    int status = 0;
    const bool ended = ::waitpid(pid_, &status, 0) == pid_;
    pid_ = 0;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

std::vector<std::string> ProgramWith(const std::string& program,
                                     const std::vector<std::string>& options) {
    std::vector<std::string> arguments{program};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

}  // namespace

SimulatorProcess::SimulatorProcess(const std::string& program,
                                   const std::vector<std::string>& options)
    : process_(ProgramWith(program, options)), path_(process_.ReadLine().value_or("")) {
    if (path_.empty())
        Fail("the simulator did not say where it serves");
}

}  // namespace vortana::bench
