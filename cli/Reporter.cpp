#include "cli/Reporter.h"

#include "cli/Command.h"
#include "cli/JsonReporter.h"
#include "cli/Text.h"
#include "cli/TextReporter.h"
#include "shell/Convert.h"

namespace vortana::cli {
namespace {

// column widths of the summary table: port, serial number, checksum, outcome, duration
constexpr std::size_t kColumns[] = {20, 12, 12, 16};

std::string Row(std::initializer_list<std::string> cells) {
    std::string row;
    std::size_t column = 0;
    for (const std::string& cell : cells) {
        row += column < std::size(kColumns) ? PadColumns(cell, kColumns[column]) : cell;
        ++column;
    }
    return row + "\n";
}

}  // namespace

std::unique_ptr<Reporter> MakeReporter(const Invocation& invocation) {
    if (invocation.json)
        return std::make_unique<JsonReporter>(invocation.out);
    const TextReporter::Mode mode = invocation.quiet      ? TextReporter::Mode::Quiet
                                    : invocation.terminal ? TextReporter::Mode::Terminal
                                                          : TextReporter::Mode::Plain;
    return std::make_unique<TextReporter>(mode, invocation.out, invocation.err);
}

std::string ChecksumText(const std::optional<std::uint32_t>& checksum) {
    return checksum ? "0x" + IntToHex(*checksum, 8) : "-";
}

std::string SummaryTable(std::span<const PortOutcome> outcomes) {
    std::string table = Row({"port", "serial", "checksum", "outcome", "duration"});
    for (const PortOutcome& outcome : outcomes)
        table += Row({outcome.port, outcome.serial ? std::to_string(*outcome.serial) : "-",
                      ChecksumText(outcome.checksum), std::string(NameOf(outcome.status)),
                      SecondsText(outcome.duration)});
    return table;
}

}  // namespace vortana::cli
