// The serial database's share of a round: taking the round's numbers and adding its 'started'
// records (one transaction), and recording each programmer's end, on a private PostgreSQL server
// on this machine reached by its Unix socket, its commits flushed to the disk as a real server's
// (tools/pg-scratch-server start-durable; it takes a few seconds to make). A round of 8
// programmers; the median of many rounds. Goal for taking a round: under 5 ms.
//
//   build/vortana_bench_database [rounds]
#include <cstdio>

#include "bench/BenchSupport.h"
#include "harness/ScratchDatabase.h"
#include "production/SerialDatabase.h"

namespace {

using namespace vortana;
using namespace vortana::bench;

constexpr std::size_t kProgrammers = 8;
constexpr int kDefaultRounds = 200;

SerialRound Round() {
    SerialRound round;
    round.command = "write";
    round.record = {.model = "VT8F-F64",
                    .file = "image.s19",
                    .station = "bench",
                    .operatorName = "bench",
                    .version = "bench"};
    round.crc32 = 0x8A7D8A3D;
    for (std::size_t i = 0; i < kProgrammers; ++i)
        round.ports.push_back("/dev/ttyUSB" + std::to_string(i));
    round.first = 1;
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = CountArgument(argc, argv, 1, kDefaultRounds);
    try {
        const ScratchDir dir;
        const test::ScratchServer server(dir.File("server.state"));
        const test::ScratchDatabase database(server.StateFile());
        SerialDatabase source(
            {.url = database.Url(), .counter = "VT8F-F64", .station = "bench", .spool = ""});
        const SerialRound round = Round();
        std::vector<double> takes;
        std::vector<double> ends;
        for (int i = 0; i < rounds; ++i) {
            const Clock::time_point start = Clock::now();
            const std::int64_t first = source.TakeRound(round);
            const Clock::time_point taken = Clock::now();
            for (std::size_t port = 0; port < kProgrammers; ++port) {
                PortOutcome outcome;
                outcome.serial = first + static_cast<std::int64_t>(port);
                source.Ended(port, outcome);
            }
            ends.push_back(MsBetween(taken, Clock::now()) / kProgrammers);
            takes.push_back(MsBetween(start, taken));
            if (!source.EndRound().empty())
                Fail("a record was not kept");
        }
        std::printf(
            "a round of %zu programmers on the local server, median of %d: %.3f ms to take "
            "its numbers and add its records; %.3f ms per programmer's end\n",
            kProgrammers, rounds, Median(takes), Median(ends));
        PrintFigure("db_round_ms", Median(takes));
        PrintFigure("db_end_ms", Median(ends));
    } catch (const std::exception& error) {
        Fail(error.what());
    }
    return 0;
}
