// vortana-sim: the programmer-device simulator as a program. Prints the line's path first, then
// serves until SIGINT, SIGTERM or SIGHUP (or until the hang-up or drop-line fault ends it).
// Exit status: 0 after serving, 1 when the line or a file cannot be opened, 2 for a bad
// command line.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <vector>

#include "sim/CommandLine.h"
#include "sim/PtyLink.h"
#include "sim/Simulator.h"

namespace {

using namespace vortana::sim;

constexpr long kSignalPollNs = 100'000'000;  // how often to look whether serving has ended

sigset_t EndSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    return signals;
}

void WaitForEnd(const sigset_t& signals, const Simulator& simulator) {
    const timespec poll{0, kSignalPollNs};
    while (simulator.Serving())
        if (sigtimedwait(&signals, nullptr, &poll) > 0)
            return;
}

int Serve(ProgramOptions options, const sigset_t& signals) {
    if (!options.fill.empty())
        options.sim.fill = LoadFillFile(options.fill);
    if (options.trace)
        options.sim.trace = [](std::string_view line) {
            std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
        };
    Simulator simulator(std::move(options.sim));
    std::string path = options.device;
    if (options.device.empty())
        path = simulator.StartOnPty();
    else
        simulator.StartOnLine(OpenSerialDevice(options.device));
    std::optional<PtyLink> link;
    if (!options.link.empty())
        link.emplace(options.link, path);
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);

    WaitForEnd(signals, simulator);
    simulator.Stop();
    if (simulator.HungUp())
        std::fprintf(stderr, "vortana-sim: hung up the line, as a fault asked\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    ProgramOptions options;
    try {
        options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "vortana-sim: %s\nTry 'vortana-sim --help'.\n", error.what());
        return 2;
    }
    if (options.help) {
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    }
    // Blocked before any thread starts, so they arrive only where WaitForEnd takes them.
    const sigset_t signals = EndSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);
    try {
        return Serve(std::move(options), signals);
    } catch (const SimError& error) {
        std::fprintf(stderr, "vortana-sim: %s\n", error.what());
        return 1;
    }
}
