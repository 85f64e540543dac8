#include "cli/Job.h"

#include <thread>

#include "cli/Command.h"
#include "cli/Connection.h"
#include "cli/DeviceSteps.h"
#include "cli/Interruption.h"
#include "cli/PortLookup.h"
#include "cli/Reporter.h"
#include "production/JobError.h"
#include "production/RecordText.h"

namespace vortana::cli {
namespace {

using Clock = std::chrono::steady_clock;

void RunSteps(const JobPlan& plan, std::size_t index, DeviceSteps& steps, Reporter& reporter) {
    for (const CmdKindValue step : plan.steps) {
        switch (step) {
            case kCmdSettings:
                steps.Settings(plan.settings);
                break;
            case kCmdDownload:
                reporter.Note(index, "image CRC-32 " + Crc32Text(plan.crc32));
                reporter.Note(index, "download: " + steps.Download(plan.headers.at(index)));
                break;
            case kCmdReadOut:
                plan.savePages(steps.ReadOut());
                break;
            default:
                steps.Run(step);
        }
    }
}

PortOutcome RunOnPort(const JobPlan& plan, const Invocation& invocation, std::size_t index,
                      const FoundPort& found, Reporter& reporter) {
    PortOutcome outcome;
    outcome.port = invocation.ports[index];
    outcome.foundAt = found.foundAt;
    outcome.serial = index < plan.serials.size() ? plan.serials[index] : std::nullopt;
    outcome.checksum = plan.checksum;
    outcome.crc32 = plan.crc32;
    outcome.record = plan.record;
    const Clock::time_point start = Clock::now();
    try {
        if (InterruptionSignal() != 0)  // not started, but recorded with the serial number it took
            throw InterruptionError(" before the programmer was started");
        if (!found.failure.empty())
            throw JobError(ExitStatus::PortFailure, found.failure);
        Connection connection(found.device);
        DeviceSteps steps(connection, *plan.session, {invocation.timeout, invocation.lateWait},
                          [&reporter, index](const StepProgress& progress) {
                              reporter.Progress(index, progress);
                          });
        RunSteps(plan, index, steps, reporter);
    } catch (const JobError& error) {
        outcome.status = error.Status();
        outcome.message = error.what();
    }
    outcome.duration = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    if (plan.serialSource)
        plan.serialSource->Ended(index, outcome);
    reporter.Ended(index, outcome);
    return outcome;
}

}  // namespace

std::vector<PortOutcome> RunJob(const JobPlan& plan, const Invocation& invocation,
                                Reporter& reporter) {
    reporter.Begin(invocation.ports);
    const std::vector<FoundPort> found = LookUpPorts(invocation.ports, invocation.portRoots);
    std::vector<PortOutcome> outcomes(invocation.ports.size());
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < invocation.ports.size(); ++i)
            threads.emplace_back(
                [&, i] { outcomes[i] = RunOnPort(plan, invocation, i, found[i], reporter); });
    }
    return outcomes;
}

ExitStatus RunStatus(const std::vector<PortOutcome>& outcomes) {
    for (const PortOutcome& outcome : outcomes)
        if (outcome.status != ExitStatus::Success)
            return outcome.status;
    return ExitStatus::Success;
}

}  // namespace vortana::cli
