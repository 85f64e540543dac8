// The simulator's figures: how fast the device engine checks download blocks, how long a paced
// read-out page takes on the line, and a whole 64 KiB download exchange over a pseudo-terminal.
#include <chrono>
#include <cstdio>

#include "harness/SimLine.h"
#include "sim/Device.h"

namespace {

using namespace vortana::sim;
using namespace vortana::sim::test;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void EngineDownloads() {
    constexpr int kRounds = 200;
    const auto blocks = ImageBlocks(PatternImage(64 * 1024), 0x00, 0x00);
    const Bytes header = HeaderFrame(64, 0x00);
    Trace trace;
    Device device(DeviceConfig{0, false, {}}, trace);
    const auto start = Clock::now();
    std::size_t answers = 0;
    for (int round = 0; round < kRounds; ++round) {
        device.Feed(header);
        for (const Bytes& block : blocks)
            answers += device.Feed(block).size();
    }
    const double took = Seconds(start);
    std::printf(
        "engine: %d downloads of 64 KiB in %.3f s: %.1f MB/s, %.1f us a block (%zu answers)\n",
        kRounds, took, kRounds * 65536 / took / 1e6, took / (kRounds * 16) * 1e6, answers);
}

void PacedPage() {
    SimConfig config = SimConfig::Immediate();
    config.pace = true;
    SimLine line(config);
    const auto start = Clock::now();
    line.Send(ReadOutFrame(0x80, 4, 0x00));
    const std::size_t got = line.ReadCount(4096).size();
    std::printf("line: a %zu-byte page at 38400 baud took %.3f s (3840 bytes/s gives 1.067 s)\n",
                got, Seconds(start));
}

void DownloadOverPty() {
    SimLine line;
    const auto blocks = ImageBlocks(PatternImage(64 * 1024), 0x00, 0x00);
    const auto start = Clock::now();
    line.Send(HeaderFrame(64, 0x00));
    for (const Bytes& block : blocks) {
        line.Send(block);
        line.ReadCount(block == blocks.back() ? 7 : 6);
    }
    std::printf("line: a 64 KiB download exchange, unpaced, took %.3f s\n", Seconds(start));
}

}  // namespace

int main() {
    EngineDownloads();
    PacedPage();
    DownloadOverPty();
}
