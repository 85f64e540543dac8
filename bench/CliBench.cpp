// The command-line programmer against the device simulator paced at 38400 baud, with the
// device's work times as the simulator has them.
//
// 1. `vortana-cli write` of a 64 KiB file on one programmer: the time from start to exit over
//    the protocol's minimum: the bytes on the wire both ways at 3840 bytes a second, the 100 ms
//    of silence after each reply by which the serial component knows it is whole (16 for the
//    download, 1 for erase+program+verify), and the device's work time the simulator reports.
// 2. A production run of the same write on 8 programmers at once against the same run on one:
//    the run's time (the slowest programmer's) over the single one's.
// 3. The same write on the same 8 saved as a job and run as a shift (`run --loop`) of 10 rounds,
//    the operator's Enter there at once after each: the time a round over the write's in 2.
//
// The program runs in-process (cli/Program.h), the simulators on threads of this process.
//
//   build/vortana_bench_cli [runs [rounds]]
#include <cstdio>
#include <istream>
#include <memory>
#include <sstream>
#include <vector>

#include "bench/BenchSupport.h"
#include "cli/Program.h"
#include "harness/SRecordFiles.h"
#include "sim/Simulator.h"
#include "sim/Wire.h"

namespace {

using namespace vortana;
using namespace vortana::bench;

constexpr std::size_t kImageBytes = 65536;
constexpr std::size_t kBlocks = kImageBytes / sim::kPageSize;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kBareFrameBytes = 4;
constexpr std::size_t kProgrammers = 8;
constexpr double kLineBytesPerSecond = 3840;  // 38400 baud, 8N1
constexpr double kReplyGapSeconds = 0.1;      // the reader's ReadIntervalTimeout
constexpr int kDefaultRuns = 3;
constexpr int kDefaultRounds = 10;
constexpr char kModelLine[] = "01 VT8F-F64             0000 - FFFF         64K       0x00\r\n";

class Bench {
  public:
    Bench() {
        test::WriteSRecordFile(dir_.File("image.s19"), test::RandomBytes(kImageBytes, 99), 0);
        std::FILE* catalogue = std::fopen(dir_.File("MCUtype.txt").c_str(), "w");
        if (catalogue == nullptr || std::fputs(kModelLine, catalogue) < 0 ||
            std::fclose(catalogue) != 0)
            Fail("cannot write the catalogue");
    }

    // Starts `count` paced simulators; their ports.
    std::vector<std::string> Start(std::size_t count) {
        sims_.clear();
        std::vector<std::string> ports;
        for (std::size_t i = 0; i < count; ++i) {
            sims_.push_back(std::make_unique<sim::Simulator>(sim::SimConfig{}));
            ports.push_back(sims_.back()->StartOnPty());
        }
        return ports;
    }

    // Runs the write on `ports`; its wall-clock seconds.
    double Write(const std::vector<std::string>& ports) const {
        std::vector<std::string> arguments{"write", "--quiet"};
        AddWriteOptions(arguments, ports);
        return Timed(arguments, nullptr);
    }

    // Saves the write on `ports` as a job and runs it as a shift of `rounds` rounds, Enter given
    // at once after each but the last; the shift's wall-clock seconds.
    double Shift(const std::vector<std::string>& ports, int rounds) const {
        std::vector<std::string> save{"job", "save", dir_.File("job.ini")};
        AddWriteOptions(save, ports);
        Timed(save, nullptr);
        std::istringstream enter(std::string(rounds - 1, '\n'));
        return Timed({"run", dir_.File("job.ini"), "--loop", "--quiet"}, &enter);
    }

    // The protocol's minimum for the write just run on simulator `index`.
    double Minimum(std::size_t index) const {
        const sim::DeviceState state = sims_.at(index)->State();
        if (state.blocks.size() != kBlocks)
            Fail("the device took " + std::to_string(state.blocks.size()) + " blocks");
        const std::size_t sent = kHeaderBytes + kBlocks * sim::kBlockSize + kBareFrameBytes;
        const std::size_t received =
            (kBlocks - 1) * sim::Reply(0, sim::status::kBlockRequest, sim::Bytes(1)).size() +
            sim::Reply(0, sim::status::kSuccess, sim::Bytes(2)).size() +
            sim::Reply(0, sim::status::kSuccess).size();
        const std::size_t replies = kBlocks + 1;
        return (sent + received) / kLineBytesPerSecond + replies * kReplyGapSeconds +
               state.work.count() / 1000.0;
    }

  private:
    void AddWriteOptions(std::vector<std::string>& arguments,
                         const std::vector<std::string>& ports) const {
        arguments.insert(arguments.end(),
                         {"--model", "VT8F-F64", "--file", dir_.File("image.s19")});
        for (const std::string& port : ports)
            arguments.insert(arguments.end(), {"--port", port});
    }

    // Runs the program with `arguments` and `in` as its input; its wall-clock seconds.
    double Timed(const std::vector<std::string>& arguments, std::istream* in) const {
        std::ostringstream out;
        std::ostringstream err;
        const Clock::time_point start = Clock::now();
        const int status =
            cli::RunProgram(arguments, out, err, {dir_.Path().string() + "/", false, {}, in});
        const double seconds = MsBetween(start, Clock::now()) / 1000;
        if (status != 0)
            Fail(arguments.front() + " failed: " + err.str());
        return seconds;
    }

    ScratchDir dir_;
    std::vector<std::unique_ptr<sim::Simulator>> sims_;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = CountArgument(argc, argv, 1, kDefaultRuns);
    Bench bench;
    std::vector<double> ratios;
    std::vector<double> singles;
    for (int run = 1; run <= runs; ++run) {
        const double measured = bench.Write(bench.Start(1));
        const double minimum = bench.Minimum(0);
        ratios.push_back(measured / minimum);
        singles.push_back(measured);
        std::printf(
            "write on one programmer, run %d: measured %.3f s, minimum %.3f s, ratio %.4f\n", run,
            measured, minimum, measured / minimum);
        std::fflush(stdout);
    }
    const std::vector<std::string> ports = bench.Start(kProgrammers);
    const double eight = bench.Write(ports);
    const double single = Median(singles);
    std::printf("write on %zu programmers at once: %.3f s; on one (median): %.3f s; ratio %.4f\n",
                kProgrammers, eight, single, eight / single);
    std::fflush(stdout);
    const int rounds = CountArgument(argc, argv, 2, kDefaultRounds);
    const double round = bench.Shift(ports, rounds) / rounds;
    std::printf("shift of %d rounds on the same %zu: %.3f s a round; ratio to their write %.4f\n",
                rounds, kProgrammers, round, round / eight);
    PrintFigure("cli_write_over_minimum", Median(ratios));
    PrintFigure("cli_production_8_over_1", eight / single);
    PrintFigure("cli_shift_round_over_write", round / eight);
    return 0;
}
