// run: a saved job (production/JobFile.h) run as write runs it, once the image its S-record file
// makes is found to be the one the job approved (its CRC-32); with --loop (or loop = yes in the
// job) board after board through a shift (cli/Shift.h). Options on the command line take the
// place of the job's, except the firmware's: --model and --file are no options of run.
#include "cli/Commands.h"
#include "cli/JobOptions.h"
#include "cli/JobSetup.h"
#include "cli/Shift.h"
#include "production/JobError.h"
#include "production/RecordText.h"

namespace vortana::cli {
namespace {

constexpr auto kGrammar = JoinOptions(kSerialOptions, kSettingsOptions, kLoopOptions);

// Refuses an image other than the one the job approved, before anything is sent.
void RequireApprovedImage(const JobPlan& plan, const JobFile& job) {
    if (plan.crc32 != job.crc32)
        throw JobError(ExitStatus::FileRefused, "firmware changed: " + job.file + " makes CRC-32 " +
                                                    Crc32Text(plan.crc32) + ", the job approved " +
                                                    Crc32Text(job.crc32));
}

class RunJobFile : public Command {
  public:
    std::string_view Name() const override { return "run"; }
    std::string_view Usage() const override { return "run JOBFILE [OPTIONS]"; }
    std::string_view Summary() const override {
        return "Runs a saved job as write runs it, once its file is found to make the image the "
               "job approved; options given replace the job's, but for its firmware.";
    }
    std::span<const OptionSpec> Grammar() const override { return kGrammar; }
    std::size_t Operands() const override { return 1; }

    ExitStatus Run(const Invocation& invocation) const override {
        if (invocation.operands.empty())
            throw UsageError("no job file given: vortana-cli " + std::string(Usage()));
        const JobFile job = ReadJobFile(invocation.operands.front());
        const Options options = OptionsOfJob(job, invocation.options);
        const Invocation run = WithOptions(invocation, options);
        RequirePorts(run);
        JobPlan plan;
        plan.command = "write";
        plan.steps.assign(std::begin(kWriteSteps), std::end(kWriteSteps));
        PrepareDownload(plan, run);
        RequireApprovedImage(plan, job);
        const SerialNumbering numbering = PlanSerialNumbers(plan, run);
        return options.Has(kLoopOptions[0].name) ? RunShift(plan, run, numbering)
                                                 : RunDownload(plan, run, numbering);
    }
};

}  // namespace

const Command& RunCommand() {
    static const RunJobFile command;
    return command;
}

}  // namespace vortana::cli
