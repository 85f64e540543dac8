// erase, program and verify: one command each on the chip, with the image the programmer holds.
// The model, when given, lets the progress bar follow the window's estimate of the time.
#include "cli/Commands.h"
#include "cli/JobSetup.h"

namespace vortana::cli {
namespace {

constexpr OptionSpec kGrammar[] = {
    {"--model", "NAME", "the model, for the progress estimate (optional)"}};

class ChipCommand : public NamedCommand {
  public:
    ChipCommand(std::string_view name, std::string_view usage, std::string_view summary,
                CmdKindValue step)
        : NamedCommand(name, usage, summary), step_(step) {}

    std::span<const OptionSpec> Grammar() const override { return kGrammar; }

    ExitStatus Run(const Invocation& invocation) const override {
        RequirePorts(invocation);
        JobPlan plan;
        plan.command = Name();
        plan.steps = {step_};
        ChooseModel(plan, invocation, false);
        return RunAndReport(plan, invocation);
    }

  private:
    CmdKindValue step_;
};

}  // namespace

const Command& EraseCommand() {
    static const ChipCommand command("erase", "erase --port PORT [--model NAME]",
                                     "Erases the chip.", kCmdErase);
    return command;
}

const Command& ProgramCommand() {
    static const ChipCommand command("program", "program --port PORT [--model NAME]",
                                     "Programs the chip with the image last downloaded.",
                                     kCmdProgram);
    return command;
}

const Command& VerifyCommand() {
    static const ChipCommand command(
        "verify", "verify --port PORT [--model NAME]",
        "Compares the chip with the image last downloaded; a mismatch names its address.",
        kCmdVerify);
    return command;
}

}  // namespace vortana::cli
