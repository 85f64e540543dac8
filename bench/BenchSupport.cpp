#include "bench/BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>

#include "harness/SRecordFiles.h"
#include "shell/FileAccess.h"

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

}  // namespace vortana::bench
