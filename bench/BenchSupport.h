// What the benchmark programs share: timing runs and taking their medians, a scratch folder,
// run counts from the command line, programs run as processes of their own, and failing loudly
// when a run goes wrong (a benchmark whose work failed has no figure worth printing).
//
// Qt-free; one thread, except that each ChildProcess may be driven by a thread of its own.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vortana::bench {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point start, Clock::time_point end);

// The median of `values` (the upper one of the middle two for an even count); 0 when empty.
double Median(std::vector<double> values);

// The median wall-clock milliseconds of `runs` calls of `work`.
double MedianMs(int runs, const std::function<void()>& work);

// Prints "<program>: <what>" to the standard error and ends the program with status 1.
[[noreturn]] void Fail(const std::string& what);

// argv[index] as a count of at least 1, or `fallback` when it is not given.
int CountArgument(int argc, char** argv, int index, int fallback);

// One run of srec_cat, a whole process as a user would run it, turning the S-record file
// `records` into the binary file `output`. Fails the benchmark when srec_cat fails.
void SrecCatToBinary(const std::string& records, const std::string& output);
// Fails the benchmark when the binary file `output` srec_cat wrote is not `expected`.
void CheckSrecCatBinary(const std::string& output, std::span<const std::uint8_t> expected);
// The median milliseconds of `runs` runs of SrecCatToBinary, its binary checked.
double SrecCatToBinaryMs(int runs, const std::string& records, const std::string& output,
                         std::span<const std::uint8_t> expected);

// Prints the line bench/report picks up: "figure <name> <value>", the value in the unit the
// name ends in (_ms, _mib, or none for a ratio).
void PrintFigure(const char* name, double value);

// This process's resident memory from /proc/self/status, in MiB: now (VmRSS) and at its peak
// (VmHWM). Fails the benchmark when they cannot be read.
struct MemoryUse {
    double residentMiB;
    double peakMiB;
};
MemoryUse ReadMemoryUse();

// A fresh folder under the temporary directory, removed with everything in it at the end.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// A program run as a process of its own, `arguments` its path first, its standard input and output
// on pipes to this process (its error stream is this one's). Ended with SIGTERM and waited for
// when this goes unless Wait() saw it end. Fails the benchmark when it cannot be started.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Its next line of output without the line end; none once its output has ended.
    std::optional<std::string> ReadLine();
    // Sends `text` to its input. Fails the benchmark when it cannot be written.
    void Write(std::string_view text);
    // Ends its input and waits for it to end: its exit status, -1 when a signal ended it.
    int Wait();

  private:
    pid_t pid_ = 0;
    int input_ = -1;
    std::FILE* output_ = nullptr;
};

// The simulator program `program` run with `options`, serving a pseudo-terminal; stopped when this
// goes. Fails the benchmark when it does not say where it serves.
class SimulatorProcess {
  public:
    SimulatorProcess(const std::string& program, const std::vector<std::string>& options);

    // The line it serves, the first line of its output.
    const std::string& Path() const { return path_; }

  private:
    ChildProcess process_;
    std::string path_;
};

}  // namespace vortana::bench
