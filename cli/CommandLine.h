// CommandLine: the program's grammar, `vortana-cli [OPTIONS] COMMAND [OPTIONS]`, cut into the
// command's name and its options. Each command declares the options it takes beside their help
// (OptionSpec); the common ones are declared here. Options may come before or after the command,
// as "--name value" or "--name=value"; a repeated option keeps every value in order.
//
// Errors: UsageError for an unknown command or option, an option without its value, or an
// option the command does not take. Qt-free; pure.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vortana::cli {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string_view name;      // "--model"
    std::string_view argument;  // "NAME"; empty for a switch
    std::string_view help;
};

// clang-format off
inline constexpr OptionSpec kCommonOptions[] = {
    {"--port",      "PORT",    "serial port: COM1..., ttyUSB0, a path, or usb:SERIAL (its USB adapter's); repeat for a production run"},
    {"--catalogue", "FILE",    "model catalogue (default: MCUtype.txt beside the program)"},
    {"--timeout",   "SECONDS", "give up on a step after this long without its answer (default 120)"},
    {"--late-wait", "SECONDS", "after a time-out, listen this long for the late answer (default 10; 0: off)"},
    {"--log",       "FILE",    "append one CSV line per programmer and job"},
    {"--station",   "NAME",    "the station the records name (default: the host name)"},
    {"--operator",  "NAME",    "the operator the records name (default: the login name)"},
    {"--json",      "",        "one JSON object per line per event"},
    {"--quiet",     "",        "print failures only"},
    {"--help",      "",        "this help, or the command's"},
};
// clang-format on

// Groups of options (arrays of OptionSpec) joined into one grammar, in order.
template <typename... Groups>
constexpr auto JoinOptions(const Groups&... groups) {
    std::array<OptionSpec, (std::extent_v<Groups> + ...)> all{};
    auto next = all.begin();
    ((next = std::copy(std::begin(groups), std::end(groups), next)), ...);
    return all;
}

class Options {
  public:
    bool Has(std::string_view name) const { return values_.contains(std::string(name)); }
    // The last value given, or `fallback`.
    std::string Value(std::string_view name, std::string_view fallback = {}) const;
    std::vector<std::string> Values(std::string_view name) const;
    void Add(const std::string& name, std::string value) { values_[name].push_back(value); }
    // Gives `name` these values in place of any it had.
    void Replace(const std::string& name, std::vector<std::string> values) {
        values_[name] = std::move(values);
    }
    std::vector<std::string> Names() const;

  private:
    std::map<std::string, std::vector<std::string>> values_;
};

struct ParsedCommandLine {
    std::string command;                // empty when none was given
    std::vector<std::string> operands;  // the other arguments that are no options, in order
    Options options;
};

// `everyOption` holds every option of every command, so that an option's value can be told
// from the command's name before the command is known.
ParsedCommandLine ParseCommandLine(std::span<const std::string> arguments,
                                   std::span<const OptionSpec> everyOption);

// Checks that no more than `operands` operands follow the command and that every option given is
// common or in `grammar`; throws UsageError otherwise.
void CheckOptions(const ParsedCommandLine& line, std::span<const OptionSpec> grammar,
                  std::size_t operands);

// Readers of option values that throw UsageError naming the option.
enum class ZeroSeconds { Refused, Allowed };
std::chrono::milliseconds SecondsOption(const Options& options, std::string_view name,
                                        double fallback, ZeroSeconds zero = ZeroSeconds::Refused);
std::int64_t WholeNumberOption(const Options& options, std::string_view name, std::int64_t fallback,
                               std::int64_t low, std::int64_t high);
// One of `choices` (its index), or `fallback` when the option is not given.
int ChoiceOption(const Options& options, std::string_view name,
                 std::span<const std::string_view> choices, int fallback);

// The help text of a command: usage line, summary, and its options, then the common ones.
std::string HelpText(std::string_view usage, std::string_view summary,
                     std::span<const OptionSpec> grammar);

}  // namespace vortana::cli
