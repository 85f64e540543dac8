// settings: the settings command, as the window's "设  置" button sends it.
#include "cli/Commands.h"
#include "cli/JobSetup.h"

namespace vortana::cli {
namespace {

constexpr int kMaxBurnCount = 9999;

// clang-format off
constexpr OptionSpec kGrammar[] = {
    {"--mode",   "online|offline", "programming mode (default online)"},
    {"--supply", "5|3.3",          "target supply in volts (default 5)"},
    {"--count",  "N",              "offline mode: chips to burn, 0 to 9999 (default 0)"},
    {"--erase",  "yes|no",         "erase before programming (default yes)"},
    {"--verify", "yes|no",         "verify after programming (default yes)"},
};
// clang-format on

class Settings : public Command {
  public:
    std::string_view Name() const override { return "settings"; }
    std::string_view Usage() const override { return "settings --port PORT [OPTIONS]"; }
    std::string_view Summary() const override {
        return "Sends the programmer its settings: mode, supply, burn count, erase and verify.";
    }
    std::span<const OptionSpec> Grammar() const override { return kGrammar; }

    ExitStatus Run(const Invocation& invocation) const override {
        RequirePorts(invocation);
        const Options& options = invocation.options;
        JobPlan plan;
        plan.command = "settings";
        plan.steps = {kCmdSettings};
        plan.settings = {
            .RadioGroup1 = ChoiceOption(options, "--mode", {"online", "offline"}, 0),
            .RadioGroup2 = ChoiceOption(options, "--supply", {"5", "3.3"}, 0),
            .RadioGroup4 = ChoiceOption(options, "--erase", {"yes", "no"}, 0),
            .RadioGroup5 = ChoiceOption(options, "--verify", {"yes", "no"}, 0),
            .Edit4 = std::to_string(WholeNumberOption(options, "--count", 0, 0, kMaxBurnCount)),
        };
        return RunAndReport(plan, invocation);
    }
};

}  // namespace

const Command& SettingsCommand() {
    static const Settings command;
    return command;
}

}  // namespace vortana::cli
