#include "cli/CommandLine.h"

#include <algorithm>
#include <cmath>

#include "production/JobValues.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kHelpColumn = 26;

const OptionSpec* FindOption(std::span<const OptionSpec> options, std::string_view name) {
    const auto found = std::find_if(options.begin(), options.end(),
                                    [name](const OptionSpec& o) { return o.name == name; });
    return found == options.end() ? nullptr : &*found;
}

void AppendOptions(std::string& text, std::span<const OptionSpec> options) {
    for (const OptionSpec& option : options) {
        std::string head = "  " + std::string(option.name);
        if (!option.argument.empty())
            head += " " + std::string(option.argument);
        head.resize(std::max(head.size() + 1, kHelpColumn), ' ');
        text += head + std::string(option.help) + "\n";
    }
}

[[noreturn]] void BadValue(std::string_view name, const std::string& value, std::string_view want) {
    throw UsageError(std::string(name) + " takes " + std::string(want) + ", not '" + value + "'");
}

}  // namespace

std::string Options::Value(std::string_view name, std::string_view fallback) const {
    const auto found = values_.find(std::string(name));
    return found == values_.end() ? std::string(fallback) : found->second.back();
}

std::vector<std::string> Options::Values(std::string_view name) const {
    const auto found = values_.find(std::string(name));
    return found == values_.end() ? std::vector<std::string>{} : found->second;
}

std::vector<std::string> Options::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, values] : values_)
        names.push_back(name);
    return names;
}

ParsedCommandLine ParseCommandLine(std::span<const std::string> arguments,
                                   std::span<const OptionSpec> everyOption) {
    ParsedCommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.starts_with("--")) {
            (line.command.empty() ? line.command : line.operands.emplace_back()) = argument;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionSpec* option = FindOption(everyOption, name);
        if (option == nullptr)
            throw UsageError("unknown option " + name);
        if (option->argument.empty()) {
            if (equals != std::string::npos)
                throw UsageError(name + " takes no value");
            line.options.Add(name, {});
        } else if (equals != std::string::npos) {
            line.options.Add(name, argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            line.options.Add(name, arguments[++i]);
        } else {
            throw UsageError(name + " needs a value: " + name + " " +
                             std::string(option->argument));
        }
    }
    return line;
}

void CheckOptions(const ParsedCommandLine& line, std::span<const OptionSpec> grammar,
                  std::size_t operands) {
    if (line.operands.size() > operands)
        throw UsageError("unexpected argument '" + line.operands[operands] + "' after " +
                         line.command);
    for (const std::string& name : line.options.Names())
        if (!FindOption(kCommonOptions, name) && !FindOption(grammar, name))
            throw UsageError(line.command + " does not take " + name);
}

std::chrono::milliseconds SecondsOption(const Options& options, std::string_view name,
                                        double fallback, ZeroSeconds zero) {
    if (!options.Has(name))
        return std::chrono::milliseconds(std::llround(fallback * 1000));
    const std::string value = options.Value(name);
    const bool zeroAllowed = zero == ZeroSeconds::Allowed;
    const std::optional<double> seconds = ParseSeconds(value, zeroAllowed);
    if (!seconds)
        BadValue(name, value,
                 zeroAllowed ? "a number of seconds, 0 or more" : "a number of seconds above 0");
    return std::chrono::milliseconds(std::llround(*seconds * 1000));
}

std::int64_t WholeNumberOption(const Options& options, std::string_view name, std::int64_t fallback,
                               std::int64_t low, std::int64_t high) {
    if (!options.Has(name))
        return fallback;
    const std::string value = options.Value(name);
    const std::optional<std::int64_t> number = ParseWholeNumber(value, low, high);
    if (!number)
        BadValue(name, value,
                 "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    return *number;
}

int ChoiceOption(const Options& options, std::string_view name,
                 std::span<const std::string_view> choices, int fallback) {
    if (!options.Has(name))
        return fallback;
    const std::string value = options.Value(name);
    const std::optional<int> choice = ParseChoice(value, choices);
    if (!choice)
        BadValue(name, value, ChoicesText(choices));
    return *choice;
}

std::string HelpText(std::string_view usage, std::string_view summary,
                     std::span<const OptionSpec> grammar) {
    std::string text = "Usage: " + std::string(usage) + "\n" + std::string(summary) + "\n";
    if (!grammar.empty()) {
        text += "\noptions:\n";
        AppendOptions(text, grammar);
    }
    text += "\ncommon options:\n";
    AppendOptions(text, kCommonOptions);
    return text;
}

}  // namespace vortana::cli
