// load and write: an S-record file downloaded to the programmer, as the window's load button
// does; write then erases, programs and verifies in one go. Both send the settings first when
// they take serial numbers or a settings option is given.
#include <vector>

#include "cli/Commands.h"
#include "cli/JobSetup.h"

namespace vortana::cli {
namespace {

constexpr OptionSpec kImageOptions[] = {kModelOption, kFileOption};
constexpr auto kGrammar = JoinOptions(kImageOptions, kSerialOptions, kSettingsOptions);

class Download : public NamedCommand {
  public:
    Download(std::string_view name, std::string_view usage, std::string_view summary,
             std::vector<CmdKindValue> steps)
        : NamedCommand(name, usage, summary), steps_(std::move(steps)) {}

    std::span<const OptionSpec> Grammar() const override { return kGrammar; }

    ExitStatus Run(const Invocation& invocation) const override {
        RequirePorts(invocation);
        JobPlan plan;
        plan.command = Name();
        plan.steps = steps_;
        PrepareDownload(plan, invocation);
        return RunDownload(plan, invocation, PlanSerialNumbers(plan, invocation));
    }

  private:
    std::vector<CmdKindValue> steps_;
};

}  // namespace

const Command& LoadCommand() {
    static const Download command(
        "load", "load --port PORT --model NAME --file FILE [OPTIONS]",
        "Downloads an S-record file to the programmer for the chosen model.", {kCmdDownload});
    return command;
}

const Command& WriteCommand() {
    static const Download command(
        "write", "write --port PORT --model NAME --file FILE [OPTIONS]",
        "Downloads an S-record file, then erases, programs and verifies the chip in one go.",
        {std::begin(kWriteSteps), std::end(kWriteSteps)});
    return command;
}

}  // namespace vortana::cli
