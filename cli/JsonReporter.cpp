#include "cli/JsonReporter.h"

#include <cmath>

#include "cli/OutputCheck.h"
#include "cli/Text.h"
#include "production/RecordText.h"

namespace vortana::cli {
std::string JsonReporter::EndEvent(ExitStatus status, std::string_view message) {
    std::string object = "{\"event\":\"end\"" + JsonField("outcome", JsonString(NameOf(status))) +
                         JsonField("exit", std::to_string(static_cast<int>(status)));
    if (!message.empty())
        object += JsonField("message", JsonString(message));
    return object + "}";
}

void JsonReporter::Write(const std::string& object) {
    out_ << object << "\n";
    FlushChecked(out_);
}

void JsonReporter::Begin(std::span<const std::string> ports) {
    std::lock_guard lock(mutex_);
    ports_.assign(ports.begin(), ports.end());
    shown_.assign(ports.size(), {});
    std::string list;
    for (const std::string& port : ports)
        list += (list.empty() ? "" : ",") + JsonString(port);
    Write("{\"event\":\"start\",\"ports\":[" + list + "]}");
}

void JsonReporter::Progress(std::size_t port, const StepProgress& progress) {
    std::lock_guard lock(mutex_);
    const long percent = std::lround(progress.fraction * 100);
    Shown& shown = shown_.at(port);
    if (shown.step == progress.step && shown.percent == percent)
        return;
    shown = {std::string(progress.step), percent};
    std::string object = "{\"event\":\"progress\"" + JsonField("port", JsonString(ports_[port])) +
                         JsonField("step", JsonString(progress.step)) +
                         JsonField("percent", std::to_string(percent)) +
                         JsonField("elapsed", SecondsValue(progress.elapsed));
    if (progress.remaining)
        object += JsonField("remaining", SecondsValue(*progress.remaining));
    Write(object + "}");
}

void JsonReporter::Note(std::size_t port, std::string_view text) {
    std::lock_guard lock(mutex_);
    Write("{\"event\":\"note\"" + JsonField("port", JsonString(ports_.at(port))) +
          JsonField("text", JsonString(text)) + "}");
}

void JsonReporter::Notice(std::string_view text) {
    std::lock_guard lock(mutex_);
    Write("{\"event\":\"note\"" + JsonField("text", JsonString(text)) + "}");
}

void JsonReporter::Ended(std::size_t port, const PortOutcome& outcome) {
    std::lock_guard lock(mutex_);
    Write("{\"event\":\"result\"" + JsonField("port", JsonString(ports_.at(port))) +
          (outcome.foundAt.empty() ? "" : JsonField("device", JsonString(outcome.foundAt))) +
          JsonField("outcome", JsonString(NameOf(outcome.status))) +
          JsonField("exit", std::to_string(static_cast<int>(outcome.status))) +
          JsonField("message", JsonString(outcome.message)) +
          JsonField("serial", outcome.serial ? std::to_string(*outcome.serial) : "null") +
          JsonField("checksum",
                    outcome.checksum ? JsonString(ChecksumText(outcome.checksum)) : "null") +
          JsonField("crc32", outcome.crc32 ? JsonString(Crc32Text(outcome.crc32)) : "null") +
          JsonField("duration", SecondsValue(outcome.duration)) +
          JsonField("model", JsonString(outcome.record.model)) +
          JsonField("file", JsonString(outcome.record.file)) +
          JsonField("station", JsonString(outcome.record.station)) +
          JsonField("operator", JsonString(outcome.record.operatorName)) +
          JsonField("version", JsonString(outcome.record.version)) + "}");
}

void JsonReporter::Finish(std::span<const PortOutcome>, ExitStatus status,
                          std::string_view recordFailure) {
    std::lock_guard lock(mutex_);
    Write(EndEvent(status, recordFailure));
}

}  // namespace vortana::cli
