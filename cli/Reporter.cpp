#include "cli/Reporter.h"

#include "cli/Command.h"
#include "cli/JsonReporter.h"
#include "cli/PortLookup.h"
#include "cli/Text.h"
#include "cli/TextReporter.h"
#include "production/RecordText.h"
#include "shell/Convert.h"

namespace vortana::cli {
std::unique_ptr<Reporter> MakeReporter(const Invocation& invocation) {
    if (invocation.json)
        return std::make_unique<JsonReporter>(invocation.out);
    const TextReporter::Mode mode = invocation.quiet      ? TextReporter::Mode::Quiet
                                    : invocation.terminal ? TextReporter::Mode::Terminal
                                                          : TextReporter::Mode::Plain;
    return std::make_unique<TextReporter>(mode, invocation.out, invocation.err);
}

std::string SummaryTable(std::span<const PortOutcome> outcomes) {
    std::vector<std::vector<std::string>> rows{
        {"port", "serial", "checksum", "crc32", "outcome", "duration"}};
    for (const PortOutcome& outcome : outcomes)
        rows.push_back({PortLabel(outcome.port, outcome.foundAt),
                        outcome.serial ? std::to_string(*outcome.serial) : "-",
                        ChecksumText(outcome.checksum), Crc32Text(outcome.crc32),
                        std::string(NameOf(outcome.status)), SecondsText(outcome.duration)});
    return TableText(rows);
}

}  // namespace vortana::cli
