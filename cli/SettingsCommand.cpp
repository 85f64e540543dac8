// settings: the settings command, as the window's "设  置" button sends it.
#include "cli/Commands.h"
#include "cli/JobSetup.h"

namespace vortana::cli {
namespace {

class Settings : public Command {
  public:
    std::string_view Name() const override { return "settings"; }
    std::string_view Usage() const override { return "settings --port PORT [OPTIONS]"; }
    std::string_view Summary() const override {
        return "Sends the programmer its settings: mode, supply, burn count, erase and verify.";
    }
    std::span<const OptionSpec> Grammar() const override { return kSettingsOptions; }

    ExitStatus Run(const Invocation& invocation) const override {
        RequirePorts(invocation);
        JobPlan plan;
        plan.command = "settings";
        plan.steps = {kCmdSettings};
        plan.settings = ReadSettings(invocation.options);
        return RunAndReport(plan, invocation);
    }
};

}  // namespace

const Command& SettingsCommand() {
    static const Settings command;
    return command;
}

}  // namespace vortana::cli
