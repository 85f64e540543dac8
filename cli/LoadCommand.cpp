// load and write: an S-record file downloaded to the programmer, as the window's load button
// does; write then erases, programs and verifies in one go.
#include <vector>

#include "cli/Commands.h"
#include "cli/JobSetup.h"

namespace vortana::cli {
namespace {

constexpr OptionSpec kGrammar[] = {kModelOption, kFileOption, kSerialOptions[0], kSerialOptions[1],
                                   kSerialOptions[2]};

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
        ChooseModel(plan, invocation, true);
        LoadImageFile(plan, invocation);
        PrepareDownloads(plan, invocation);
        return RunAndReport(plan, invocation);
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
        {kCmdDownload, kCmdEpc});
    return command;
}

}  // namespace vortana::cli
