// Command: one command of the program, its grammar and help beside what it does. The program
// picks the command by name, checks the options against its grammar, and runs it.
//
// Errors: Run returns the exit status; it throws UsageError for a bad option value and JobError
// for a job that cannot start (a file refused before any port is touched); the program turns
// both into their exit statuses. Qt-free.
#pragma once

#include <chrono>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "comm/PortDiscovery.h"
#include "production/ExitStatus.h"

namespace vortana::cli {

// What every command gets: its options, the common options read, and where to print.
struct Invocation {
    const Options& options;
    std::vector<std::string> operands;  // the arguments after the command that are no options
    std::vector<std::string> ports;
    std::string catalogue;  // the --catalogue file, or MCUtype.txt beside the program
    std::chrono::milliseconds timeout{0};
    std::chrono::milliseconds lateWait{0};  // after a time-out, how long to listen for the answer
    bool json = false;
    bool quiet = false;
    bool terminal = false;           // standard output is a terminal: progress bars
    PortDiscoveryRoots portRoots{};  // where `ports` and usb: port names look the ports up
    std::istream* in = nullptr;  // the operator's commands between rounds; none: the input ended
    std::ostream& out;
    std::ostream& err;
};

// How long a step waits for its answer (--timeout), and then for a late one (--late-wait).
std::chrono::milliseconds StepTimeout(const Options& options);
std::chrono::milliseconds LateWait(const Options& options);

// `invocation` with `options` in place of its own, and the ports and timings read from them;
// `options` must outlive the result.
Invocation WithOptions(const Invocation& invocation, const Options& options);

class Command {
  public:
    virtual ~Command() = default;
    virtual std::string_view Name() const = 0;
    virtual std::string_view Usage() const = 0;  // after "vortana-cli "
    virtual std::string_view Summary() const = 0;
    virtual std::span<const OptionSpec> Grammar() const = 0;
    // How many arguments that are no options the command takes (as `crc FILE`).
    virtual std::size_t Operands() const { return 0; }
    virtual ExitStatus Run(const Invocation& invocation) const = 0;
};

// A command whose name and help texts are given when it is made, for the commands that one class
// serves under several names (erase, program, verify; load, write).
class NamedCommand : public Command {
  public:
    NamedCommand(std::string_view name, std::string_view usage, std::string_view summary)
        : name_(name), usage_(usage), summary_(summary) {}

    std::string_view Name() const override { return name_; }
    std::string_view Usage() const override { return usage_; }
    std::string_view Summary() const override { return summary_; }

  private:
    std::string_view name_;
    std::string_view usage_;
    std::string_view summary_;
};

// The program's commands, in the order --help lists them.
std::span<const Command* const> AllCommands();

}  // namespace vortana::cli
