#include "cli/ShiftReport.h"

#include "cli/JsonReporter.h"
#include "cli/OutputCheck.h"
#include "cli/Reporter.h"
#include "cli/Text.h"

namespace vortana::cli {
namespace {

constexpr std::string_view kRed = "\x1b[31m";
constexpr std::string_view kPlain = "\x1b[0m";

// "1 board", "3 boards".
std::string Counted(std::size_t count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string CountText(std::size_t passed, std::size_t failed) {
    return std::to_string(passed) + " passed, " + std::to_string(failed) + " failed, " +
           Counted(passed + failed, "board");
}

// "serial numbers 100 to 111, 120 to 123", "serial number 100", or "no serial numbers".
std::string SerialsText(std::span<const SerialNumbers> serials) {
    if (serials.empty())
        return "no serial numbers";
    const bool one = serials.size() == 1 && serials[0].first == serials[0].last;
    std::string text = one ? "serial number " : "serial numbers ";
    for (const SerialNumbers& numbers : serials) {
        if (&numbers != &serials.front())
            text += ", ";
        text += std::to_string(numbers.first);
        if (numbers.last != numbers.first)
            text += " to " + std::to_string(numbers.last);
    }
    return text;
}

std::string SerialsJson(std::span<const SerialNumbers> serials) {
    std::string json;
    for (const SerialNumbers& numbers : serials)
        json += (json.empty() ? "[" : ",") + std::string("[") + std::to_string(numbers.first) +
                "," + std::to_string(numbers.last) + "]";
    return json.empty() ? "[]" : json + "]";
}

std::string CountJson(std::size_t passed, std::size_t failed,
                      std::span<const SerialNumbers> serials) {
    return JsonField("passed", std::to_string(passed)) +
           JsonField("failed", std::to_string(failed)) +
           JsonField("boards", std::to_string(passed + failed)) +
           JsonField("serials", SerialsJson(serials));
}

// The summary table with each failed programmer's line in red.
std::string ColouredTable(std::span<const PortOutcome> outcomes) {
    const std::string table = SummaryTable(outcomes);
    std::string coloured;
    std::size_t begin = 0;
    for (std::size_t row = 0; begin < table.size(); ++row) {
        const std::size_t end = table.find('\n', begin);
        const std::string line = table.substr(begin, end - begin);
        const bool failed = row > 0 && outcomes[row - 1].status != ExitStatus::Success;
        coloured += failed ? std::string(kRed) + line + std::string(kPlain) : line;
        coloured += "\n";
        begin = end + 1;
    }
    return coloured;
}

}  // namespace

void ShiftReport::Say(const std::string& text) {
    invocation_.out << text;
    FlushChecked(invocation_.out);
}

void ShiftReport::Round(const RoundTally& round, std::span<const PortOutcome> outcomes,
                        std::string_view recordFailure) {
    if (invocation_.json) {
        std::string event = "{\"event\":\"round\"" +
                            JsonField("round", std::to_string(round.round)) +
                            CountJson(round.passed, round.failed, round.serials) +
                            JsonField("outcome", JsonString(NameOf(round.status))) +
                            JsonField("exit", std::to_string(static_cast<int>(round.status)));
        if (!recordFailure.empty())
            event += JsonField("message", JsonString(recordFailure));
        Say(event + "}\n");
        return;
    }
    std::string text = "\nround " + std::to_string(round.round) + ": " +
                       CountText(round.passed, round.failed) + "; " + SerialsText(round.serials) +
                       "\n";
    if (!invocation_.quiet)
        text += invocation_.terminal ? ColouredTable(outcomes) : SummaryTable(outcomes);
    Say(text);
    if (!recordFailure.empty())
        invocation_.err << "vortana-cli: " << recordFailure << "\n" << std::flush;
}

void ShiftReport::Prompt(std::string_view refused) {
    if (invocation_.json)
        return;
    std::string text;
    if (!refused.empty())
        text = "'" + std::string(refused) + "' is no command here. ";
    Say(text + "Enter: next round; q: end the shift\n");
}

void ShiftReport::Finish(const ShiftTally& tally, ExitStatus status, std::string_view message) {
    if (invocation_.json) {
        Say("{\"event\":\"shift\"" + JsonField("rounds", std::to_string(tally.Rounds())) +
            CountJson(tally.Passed(), tally.Failed(), tally.Serials()) + "}\n" +
            JsonReporter::EndEvent(status, message) + "\n");
        return;
    }
    Say("\nshift ended after " + Counted(tally.Rounds(), "round") + ": " +
        CountText(tally.Passed(), tally.Failed()) + "; " + SerialsText(tally.Serials()) + "\n");
    if (!message.empty())
        invocation_.err << "vortana-cli: " << message << "\n" << std::flush;
}

}  // namespace vortana::cli
