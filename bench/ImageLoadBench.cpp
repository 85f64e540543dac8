// Times loading a 64 KiB S-record file with the Qt-free loader (read the file, parse, place,
// build the blocks, the checksum and the listing rows) beside srec_cat turning the same file
// into binary, both in the same run, and prints the two medians and their ratio.
//
//   build/bench_image_load [loads] [srec_cat runs]
//
// The file is made at start by srec_cat from random bytes: 16-bit addresses (S1 records),
// 16 data bytes a record, LF line ends, with header and end records. Each srec_cat run is a whole
// process, start-up included, as a user would run it; a run on a one-record file shows that
// start-up alone.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "image/ImageLoader.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kImageBytes = 65536;
constexpr int kDefaultLoads = 200;
constexpr int kDefaultSrecCatRuns = 30;

// Runs `arguments` as a process and waits for it; false when it cannot start or fails.
bool Run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Median wall-clock milliseconds of `runs` calls of `work`.
double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[runs / 2];
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "vortana_bench_image_load: %s\n", what.c_str());
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    const int loads = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultLoads;
    const int srecCatRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultSrecCatRuns;

    const fs::path dir = fs::temp_directory_path() / ("vortana-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string binary = (dir / "image.bin").string();
    const std::string records = (dir / "image.s19").string();
    const std::string oneRecord = (dir / "one.s19").string();
    const std::string output = (dir / "out.bin").string();

    std::mt19937 random(2024);
    std::string bytes(kImageBytes, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    std::ofstream(binary, std::ios::binary) << bytes;
    std::ofstream(oneRecord, std::ios::binary) << "S0030000FC\nS1048000FF7C\nS9030000FC\n";
    if (!Run({SREC_CAT, binary, "-binary", "-o", records, "-motorola", "-Address_Length=2",
              "-Output_Block_Size", "16", "-execution-start-address=0"})) {
        Fail("srec_cat could not make the S-record file");
    }

    auto session = std::make_unique<vortana::SessionState>();
    session->FlashStart = "0000";
    session->ModelCode = "0x00";
    session->ImageSize = kImageBytes;
    std::size_t rows = 0;
    const double loadMs = MedianMs(loads, [&] {
        const vortana::ImageLoadOutcome outcome = vortana::LoadImage(ReadFile(records), *session);
        if (outcome.failure)
            Fail("the loader refused the file: " + outcome.failure->message);
        rows = outcome.listingRows.size();
    });
    for (std::size_t i = 0; i < kImageBytes; ++i) {
        const std::size_t at = i / 4096 * vortana::kImageBlockSize + 2 + i % 4096;
        if (session->ImageBlocks[at] != static_cast<std::uint8_t>(bytes[i]))
            Fail("the loaded blocks differ from the binary at " + std::to_string(i));
    }

    const std::vector<std::string> toBinary = {SREC_CAT, records, "-motorola",
                                               "-o",     output,  "-binary"};
    const double srecCatMs = MedianMs(srecCatRuns, [&] {
        if (!Run(toBinary))
            Fail("srec_cat failed");
    });
    if (ReadFile(output) != bytes)
        Fail("srec_cat's binary differs from the original");
    const double startupMs = MedianMs(srecCatRuns, [&] {
        Run({SREC_CAT, oneRecord, "-motorola", "-o", output, "-binary"});
    });

    std::printf("S-record file: %zu bytes, %zu data bytes, %zu listing rows\n",
                static_cast<std::size_t>(fs::file_size(records)), kImageBytes, rows);
    std::printf("loader (read, parse, blocks, checksum, rows): %8.3f ms  (median of %d)\n", loadMs,
                loads);
    std::printf("srec_cat to binary (whole process):           %8.3f ms  (median of %d)\n",
                srecCatMs, srecCatRuns);
    std::printf("srec_cat on a one-record file (start-up):      %8.3f ms\n", startupMs);
    std::printf("ratio loader / srec_cat: %.3f (goal: at most 1)\n", loadMs / srecCatMs);
    fs::remove_all(dir);
    return 0;
}
