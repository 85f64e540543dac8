#include "cli/Shift.h"

#include "cli/Interruption.h"
#include "cli/OperatorInput.h"
#include "cli/ShiftReport.h"

namespace vortana::cli {
namespace {

// The operator's commands, a line each, blanks and a carriage return around them not counting.
enum class OperatorCommand { NextRound, EndShift, Unknown };

OperatorCommand CommandOf(const std::optional<std::string>& line) {
    if (!line)
        return OperatorCommand::EndShift;
    const std::size_t first = line->find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return OperatorCommand::NextRound;
    const std::string word = line->substr(first, line->find_last_not_of(" \t\r") - first + 1);
    return word == "q" || word == "Q" ? OperatorCommand::EndShift : OperatorCommand::Unknown;
}

// Asks until the operator gives a command; whether it is the next round.
bool NextRoundWanted(OperatorInput& input, ShiftReport& report) {
    report.Prompt();
    for (;;) {
        const std::optional<std::string> line = input.NextLine();
        switch (CommandOf(line)) {
            case OperatorCommand::NextRound:
                return true;
            case OperatorCommand::EndShift:
                return false;
            case OperatorCommand::Unknown:
                report.Prompt(*line);
        }
    }
}

}  // namespace

ExitStatus RunShift(JobPlan& plan, const Invocation& invocation, const SerialNumbering& numbering) {
    ShiftTally tally;
    ShiftReport report(invocation);
    OperatorInput input(invocation.in);
    std::optional<JobError> stop;  // what ended the shift before a round ran
    bool more = true;
    while (more) {
        try {
            PrepareDownloads(plan, invocation, numbering);
        } catch (const JobError& error) {
            stop = error;
            break;
        }
        const std::unique_ptr<Reporter> reporter = MakeReporter(invocation);
        const RunResult result = RunAndRecord(plan, invocation, *reporter);
        report.Round(tally.AddRound(result.outcomes, numbering.span, result.status),
                     result.outcomes, result.recordFailure);
        more = result.recordFailure.empty() && InterruptionSignal() == 0 &&
               NextRoundWanted(input, report);
    }
    ExitStatus status = tally.Status();
    if (status == ExitStatus::Success && stop)
        status = stop->Status();
    report.Finish(tally, status, stop ? stop->what() : "");
    return status;
}

}  // namespace vortana::cli
