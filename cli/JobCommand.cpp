// job save: the options of a write kept in a job file (production/JobFile.h) for a station to
// run (`run`), once they are checked as the write would check them and the image's CRC-32 is
// taken from the file as it is now: that figure approves the firmware.
#include "cli/Commands.h"
#include "cli/JobOptions.h"
#include "cli/JobSetup.h"
#include "cli/Shift.h"
#include "cli/Text.h"
#include "production/RecordText.h"

namespace vortana::cli {
namespace {

constexpr OptionSpec kImageOptions[] = {kModelOption, kFileOption};
constexpr auto kGrammar =
    JoinOptions(kImageOptions, kSerialOptions, kSettingsOptions, kLoopOptions);
constexpr std::string_view kSave = "save";

class SaveJob : public Command {
  public:
    std::string_view Name() const override { return "job"; }
    std::string_view Usage() const override {
        return "job save JOBFILE --port PORT --model NAME --file FILE [OPTIONS]";
    }
    std::string_view Summary() const override {
        return "Saves the options of a write, with the CRC-32 of the image the file makes, as a "
               "job for 'run'; an existing job file is never replaced.";
    }
    std::span<const OptionSpec> Grammar() const override { return kGrammar; }
    std::size_t Operands() const override { return 2; }

    ExitStatus Run(const Invocation& invocation) const override {
        const std::vector<std::string>& operands = invocation.operands;
        if (operands.size() != 2 || operands[0] != kSave)
            throw UsageError("job takes 'save JOBFILE': vortana-cli " + std::string(Usage()));
        const std::string& path = operands[1];
        RequirePorts(invocation);
        JobPlan plan;
        PrepareDownload(plan, invocation);
        PlanSerialNumbers(plan, invocation);  // what a run would refuse is refused now
        JobFile job = JobOfOptions(invocation.options);
        job.crc32 = *plan.crc32;
        SaveJobFile(path, job, "vortana-cli " VORTANA_VERSION);
        if (invocation.json)
            invocation.out << "{\"event\":\"job\"" + JsonField("file", JsonString(path)) +
                                  JsonField("crc32", JsonString(Crc32Text(plan.crc32))) + "}\n";
        else
            invocation.out << "saved " << path << ": " << job.model << ", " << job.file
                           << ", image CRC-32 " << Crc32Text(plan.crc32) << ", " << job.ports.size()
                           << (job.ports.size() == 1 ? " port\n" : " ports\n");
        return ExitStatus::Success;
    }
};

}  // namespace

const Command& JobCommand() {
    static const SaveJob command;
    return command;
}

}  // namespace vortana::cli
