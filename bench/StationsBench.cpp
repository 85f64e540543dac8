// Four stations of a line sharing one serial database: each a `vortana-cli run JOB --loop`
// process on 8 simulator programs of its own (vortana-sim paced at 38400 baud, the device's work
// times as it has them), all taking their numbers from one counter on a private PostgreSQL server
// on this machine, its commits flushed to the disk (tools/pg-scratch-server start-durable). The
// image is 16 KiB on a 16 KiB model, for rounds of about 7 s; a shift is 3 rounds, the operator's
// Enter given as soon as a round's prompt shows. A round is timed from the prompt before it (the
// first from the process's start, its connection and image load included) to its own prompt.
//
// First one station alone, the other stations' simulators idle, then the four at once: the
// slowest round of any of the four over the slowest round of the one alone (goal: at most 1.05;
// the stations' turns on the counter and their sharing of the machine cost at most 5 %). Both are
// as a rule a shift's first round: over the median round alone, the start-ups the four make at
// once would be charged against a round that has none.
//
//   build/vortana_bench_stations [rounds]
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "bench/BenchSupport.h"
#include "harness/SRecordFiles.h"
#include "harness/ScratchDatabase.h"
#include "shell/FileAccess.h"

namespace {

using namespace vortana;
using namespace vortana::bench;

constexpr std::size_t kStations = 4;
constexpr std::size_t kProgrammers = 8;
constexpr std::size_t kImageBytes = 16384;
constexpr std::uint32_t kImageStart = 0xC000;
constexpr int kDefaultRounds = 3;
constexpr char kModel[] = "VT8F-F16";
constexpr char kModelLine[] = "01 VT8F-F16             C000 - FFFF         16K       0x00\r\n";
constexpr char kCounter[] = "bench";
constexpr std::string_view kPrompt = "Enter: next round; q: end the shift";

// The files every station uses: the catalogue and the image.
struct LineFiles {
    explicit LineFiles(const ScratchDir& dir)
        : catalogue(dir.File("MCUtype.txt")), image(dir.File("image.s19")) {
        ReplaceFileAtomically(catalogue, kModelLine);
        test::WriteSRecordFile(image, test::RandomBytes(kImageBytes, 16), kImageStart);
    }
    std::string catalogue;
    std::string image;
};

// One station: its simulators, started when made, and its job on them.
class Station {
  public:
    Station(const ScratchDir& dir, const LineFiles& files, std::size_t number,
            const std::string& databaseUrl)
        : name_("station-" + std::to_string(number)),
          job_(dir.File(name_ + ".ini")),
          catalogue_(files.catalogue) {
        std::vector<std::string> save{VORTANA_CLI_PROGRAM,
                                      "job",
                                      "save",
                                      job_,
                                      "--model",
                                      kModel,
                                      "--file",
                                      files.image,
                                      "--catalogue",
                                      catalogue_,
                                      "--station",
                                      name_,
                                      "--serial-db",
                                      databaseUrl,
                                      "--counter",
                                      kCounter,
                                      "--quiet"};
        for (std::size_t i = 0; i < kProgrammers; ++i) {
            simulators_.push_back(std::make_unique<SimulatorProcess>(VORTANA_SIM_PROGRAM,
                                                                     std::vector<std::string>{}));
            save.insert(save.end(), {"--port", simulators_.back()->Path()});
        }
        if (!test::RunProgram(save))
            Fail(name_ + ": job save failed");
    }

    const std::string& Name() const { return name_; }

    // Runs the job as a shift of `rounds` rounds; each round's seconds. Throws
    // std::runtime_error when the shift fails, so that every station's simulators are stopped.
    std::vector<double> Shift(int rounds) const {
        ChildProcess station(
            {VORTANA_CLI_PROGRAM, "run", job_, "--loop", "--quiet", "--catalogue", catalogue_});
        std::vector<double> seconds;
        Clock::time_point start = Clock::now();
        while (const std::optional<std::string> line = station.ReadLine()) {
            if (!line->starts_with(kPrompt))
                continue;
            const Clock::time_point end = Clock::now();
            seconds.push_back(MsBetween(start, end) / 1000);
            start = end;
            station.Write(std::ssize(seconds) < rounds ? "\n" : "q\n");
        }
        if (station.Wait() != 0 || std::ssize(seconds) != rounds)
            throw std::runtime_error(name_ + ": the shift failed");
        return seconds;
    }

  private:
    std::string name_;
    std::string job_;
    std::string catalogue_;
    std::vector<std::unique_ptr<SimulatorProcess>> simulators_;
};

// Every station's shift of `rounds` rounds, all at once; their rounds' seconds.
std::vector<std::vector<double>> ShiftsAtOnce(const std::vector<std::unique_ptr<Station>>& stations,
                                              int rounds) {
    std::vector<std::vector<double>> seconds(stations.size());
    std::vector<std::exception_ptr> failures(stations.size());
    {
        std::vector<std::jthread> shifts;
        for (std::size_t i = 0; i < stations.size(); ++i)
            shifts.emplace_back([&, i] {
                try {
                    seconds[i] = stations[i]->Shift(rounds);
                } catch (...) {
                    failures[i] = std::current_exception();
                }
            });
    }
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    return seconds;
}

double Slowest(const std::vector<double>& seconds) {
    return *std::max_element(seconds.begin(), seconds.end());
}

void PrintRounds(const std::string& what, const std::vector<double>& seconds) {
    std::printf("%s, rounds:", what.c_str());
    for (const double round : seconds)
        std::printf(" %.3f", round);
    std::printf(" s\n");
    std::fflush(stdout);
}

// Fails the benchmark unless the counter moved on by every number the shifts took.
void CheckCounter(const test::ScratchDatabase& database, std::int64_t taken) {
    const PgResult result =
        database.Query("SELECT next FROM counters WHERE name = $1", {std::string(kCounter)});
    if (result.Rows() != 1 || result.Integer(0, 0) != 1 + taken)
        Fail("the counter did not move on by the " + std::to_string(taken) + " numbers taken");
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = CountArgument(argc, argv, 1, kDefaultRounds);
    try {
        const ScratchDir dir;
        const test::ScratchServer server(dir.File("server.state"));
        const test::ScratchDatabase database(server.StateFile());
        const LineFiles files(dir);
        std::vector<std::unique_ptr<Station>> stations;
        for (std::size_t i = 1; i <= kStations; ++i)
            stations.push_back(std::make_unique<Station>(dir, files, i, database.Url()));

        const std::vector<double> alone = stations.front()->Shift(rounds);
        PrintRounds(stations.front()->Name() + " alone", alone);

        const std::vector<std::vector<double>> together = ShiftsAtOnce(stations, rounds);
        double slowest = 0;
        for (std::size_t i = 0; i < kStations; ++i) {
            PrintRounds(stations[i]->Name() + " of " + std::to_string(kStations) + " at once",
                        together[i]);
            slowest = std::max(slowest, Slowest(together[i]));
        }
        CheckCounter(database, static_cast<std::int64_t>((1 + kStations) * kProgrammers) * rounds);
        std::printf(
            "%zu stations of %zu programmers on one counter: slowest round %.3f s; one station "
            "alone: slowest round %.3f s, median %.3f s; ratio of the slowest %.4f\n",
            kStations, kProgrammers, slowest, Slowest(alone), Median(alone),
            slowest / Slowest(alone));
        PrintFigure("db_stations_4_over_1", slowest / Slowest(alone));
    } catch (const std::exception& error) {
        Fail(error.what());
    }
    return 0;
}
