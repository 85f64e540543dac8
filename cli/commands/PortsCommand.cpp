// ports: the serial devices present.
#include "cli/commands/Commands.h"

namespace vortana::cli {
namespace {

class Ports : public Command {
  public:
    std::string_view Name() const override { return "ports"; }
    std::string_view Usage() const override { return "ports"; }
    std::string_view Summary() const override { return "Lists the serial devices present."; }
    std::span<const OptionSpec> Grammar() const override { return {}; }
    ExitStatus Run(const Invocation&) const override { return ExitStatus::Success; }
};

}  // namespace

const Command& PortsCommand() {
    static const Ports command;
    return command;
}

}  // namespace vortana::cli
