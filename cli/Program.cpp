#include "cli/Program.h"

#include <vector>

#include "cli/Command.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "cli/JsonReporter.h"
#include "cli/OutputCheck.h"
#include "production/JobError.h"

namespace vortana::cli {
namespace {

constexpr const char* kCatalogueFile = "MCUtype.txt";
constexpr std::size_t kCommandColumn = 12;

std::vector<OptionSpec> EveryOption() {
    std::vector<OptionSpec> options(std::begin(kCommonOptions), std::end(kCommonOptions));
    for (const Command* command : AllCommands())
        options.insert(options.end(), command->Grammar().begin(), command->Grammar().end());
    return options;
}

const Command* FindCommand(std::string_view name) {
    for (const Command* command : AllCommands())
        if (command->Name() == name)
            return command;
    return nullptr;
}

std::string ProgramHelp() {
    std::string text =
        "Usage: vortana-cli [OPTIONS] COMMAND [OPTIONS]\n"
        "Drives VORTANA programmers over their serial line; --port repeated runs the same job "
        "on every programmer at once.\n\ncommands:\n";
    for (const Command* command : AllCommands()) {
        std::string name = "  " + std::string(command->Name());
        name.resize(kCommandColumn, ' ');
        text += name + std::string(command->Summary()) + "\n";
    }
    text += "\n'vortana-cli COMMAND --help' shows a command's options.\n\nexit status:\n";
    for (const ExitStatusInfo& info : kExitStatuses)
        text += "  " + std::to_string(static_cast<int>(info.status)) + "  " +
                std::string(info.name) + ": " + std::string(info.meaning) + "\n";
    return text;
}

// Prints a failure that ended the program before or outside a job.
int Fail(ExitStatus status, const std::string& message, bool json, std::ostream& out,
         std::ostream& err) {
    if (json)
        out << JsonReporter::EndEvent(status, message) << "\n";
    else
        err << "vortana-cli: " << message << "\n";
    if (status == ExitStatus::Usage && !json)
        err << "Try 'vortana-cli --help'.\n";
    return static_cast<int>(status);
}

int RunCommandLine(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
                   const ProgramEnvironment& environment) {
    bool json = false;
    try {
        const ParsedCommandLine line = ParseCommandLine(arguments, EveryOption());
        const Options& options = line.options;
        json = options.Has("--json");
        const Command* command = FindCommand(line.command);
        if (line.command.empty() && options.Has("--help")) {
            out << ProgramHelp();
            return 0;
        }
        if (command == nullptr)
            throw UsageError(line.command.empty() ? "no command given"
                                                  : "unknown command '" + line.command + "'");
        CheckOptions(line, command->Grammar(), command->Operands());
        if (options.Has("--help")) {
            out << HelpText("vortana-cli " + std::string(command->Usage()), command->Summary(),
                            command->Grammar());
            return 0;
        }
        const Invocation invocation{
            .options = options,
            .operands = line.operands,
            .ports = options.Values("--port"),
            .catalogue = options.Value("--catalogue", environment.exeDir + kCatalogueFile),
            .timeout = StepTimeout(options),
            .lateWait = LateWait(options),
            .json = json,
            .quiet = options.Has("--quiet"),
            .terminal = environment.terminal,
            .portRoots = environment.portRoots,
            .in = environment.in,
            .out = out,
            .err = err,
        };
        return static_cast<int>(command->Run(invocation));
    } catch (const UsageError& error) {
        return Fail(ExitStatus::Usage, error.what(), json, out, err);
    } catch (const JobError& error) {
        return Fail(error.Status(), error.what(), json, out, err);
    }
}

// The last word on the exit status, once everything is written: a signal that came at any time,
// before the job, during it or after it, gives 128 + its number; output that did not all arrive
// is told on the error stream and fails a run that had not failed otherwise.
int ConcludedStatus(int status, std::ostream& out, std::ostream& err) {
    if (const std::optional<std::string> failure = OutputFailure(out)) {
        err << "vortana-cli: output not written: " << *failure << "\n";
        if (status == static_cast<int>(ExitStatus::Success))
            status = static_cast<int>(ExitStatus::FileRefused);
    }
    if (const int signal = InterruptionSignal())
        return static_cast<int>(InterruptedBy(signal));
    return status;
}

}  // namespace

std::span<const Command* const> AllCommands() {
    static const Command* const commands[] = {
        &PortsCommand(),   &ModelsCommand(), &SettingsCommand(), &LoadCommand(), &EraseCommand(),
        &ProgramCommand(), &VerifyCommand(), &WriteCommand(),    &ReadCommand(), &CrcCommand(),
        &JobCommand(),     &RunCommand(),    &DbCommand(),
    };
    return commands;
}

int RunProgram(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
               const ProgramEnvironment& environment) {
    return ConcludedStatus(RunCommandLine(arguments, out, err, environment), out, err);
}

}  // namespace vortana::cli
