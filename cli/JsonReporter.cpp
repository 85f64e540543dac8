#include "cli/JsonReporter.h"

#include <cmath>

#include "cli/OutputCheck.h"
#include "cli/Text.h"
#include "production/RecordText.h"

namespace vortana::cli {
namespace {

std::string Field(std::string_view name, const std::string& json) {
    return ",\"" + std::string(name) + "\":" + json;
}

}  // namespace

std::string JsonReporter::EndEvent(ExitStatus status, std::string_view message) {
    std::string object = "{\"event\":\"end\"" + Field("outcome", JsonString(NameOf(status))) +
                         Field("exit", std::to_string(static_cast<int>(status)));
    if (!message.empty())
        object += Field("message", JsonString(message));
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
    std::string object = "{\"event\":\"progress\"" + Field("port", JsonString(ports_[port])) +
                         Field("step", JsonString(progress.step)) +
                         Field("percent", std::to_string(percent)) +
                         Field("elapsed", SecondsValue(progress.elapsed));
    if (progress.remaining)
        object += Field("remaining", SecondsValue(*progress.remaining));
    Write(object + "}");
}

void JsonReporter::Note(std::size_t port, std::string_view text) {
    std::lock_guard lock(mutex_);
    Write("{\"event\":\"note\"" + Field("port", JsonString(ports_.at(port))) +
          Field("text", JsonString(text)) + "}");
}

void JsonReporter::Notice(std::string_view text) {
    std::lock_guard lock(mutex_);
    Write("{\"event\":\"note\"" + Field("text", JsonString(text)) + "}");
}

void JsonReporter::Ended(std::size_t port, const PortOutcome& outcome) {
    std::lock_guard lock(mutex_);
    Write(
        "{\"event\":\"result\"" + Field("port", JsonString(ports_.at(port))) +
        (outcome.foundAt.empty() ? "" : Field("device", JsonString(outcome.foundAt))) +
        Field("outcome", JsonString(NameOf(outcome.status))) +
        Field("exit", std::to_string(static_cast<int>(outcome.status))) +
        Field("message", JsonString(outcome.message)) +
        Field("serial", outcome.serial ? std::to_string(*outcome.serial) : "null") +
        Field("checksum", outcome.checksum ? JsonString(ChecksumText(outcome.checksum)) : "null") +
        Field("crc32", outcome.crc32 ? JsonString(Crc32Text(outcome.crc32)) : "null") +
        Field("duration", SecondsValue(outcome.duration)) +
        Field("model", JsonString(outcome.record.model)) +
        Field("file", JsonString(outcome.record.file)) +
        Field("station", JsonString(outcome.record.station)) +
        Field("operator", JsonString(outcome.record.operatorName)) +
        Field("version", JsonString(outcome.record.version)) + "}");
}

void JsonReporter::Finish(std::span<const PortOutcome>, ExitStatus status,
                          std::string_view recordFailure) {
    std::lock_guard lock(mutex_);
    Write(EndEvent(status, recordFailure));
}

}  // namespace vortana::cli
