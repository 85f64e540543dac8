#include "production/RunLog.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>

#include "production/JobError.h"
#include "production/PortOutcome.h"
#include "production/RecordText.h"
#include "shell/FileOps.h"

namespace vortana {
namespace {

// The columns up to message came first; later ones follow them, so readers of those still work.
constexpr std::string_view kHeading =
    "time,command,port,serial,checksum,outcome,exit,duration_s,message,"
    "model,file,crc32,station,operator,version\n";

std::string UtcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string SerialText(const PortOutcome& outcome) {
    return outcome.serial ? std::to_string(*outcome.serial) : "";
}

std::string LogLine(const std::string& time, std::string_view command, const PortOutcome& outcome) {
    const JobRecord& record = outcome.record;
    const std::string fields[] = {
        time,
        CsvField(command),
        CsvField(outcome.port),
        SerialText(outcome),
        outcome.checksum ? ChecksumText(outcome.checksum) : "",
        std::string(NameOf(outcome.status)),
        std::to_string(static_cast<int>(outcome.status)),
        SecondsValue(outcome.duration),
        CsvField(outcome.message),
        CsvField(record.model),
        CsvField(record.file),
        outcome.crc32 ? Crc32Text(outcome.crc32) : "",
        CsvField(record.station),
        CsvField(record.operatorName),
        CsvField(record.version),
    };
    std::string line = fields[0];
    for (const std::string& field : std::span(fields).subspan(1))
        line += "," + field;
    return line + "\n";
}

// Appends `line` whole, or cuts the file back to the size it had before; false with errno set.
bool AppendWhole(int fd, std::string_view line) {
    const long long before = fileops::SizeOf(fd);
    if (before < 0)
        return false;
    while (!line.empty()) {
        const long written = fileops::WriteSome(fd, line.data(), line.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            fileops::SetSize(fd, static_cast<std::size_t>(before));
            errno = error;
            return false;
        }
        line.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

RunLog::RunLog(std::string path) : path_(std::move(path)), fd_(fileops::OpenForAppending(path_)) {
    if (fd_ < 0)
        throw JobError(ExitStatus::FileRefused,
                       "cannot open the log " + path_ + ": " + std::strerror(errno));
}

RunLog::~RunLog() {
    if (fd_ >= 0)
        fileops::Close(fd_);
}

std::string RunLog::WriteRecords(std::string_view command, std::span<const PortOutcome> outcomes) {
    std::size_t written = 0;
    const bool begun =
        fileops::LockExclusive(fd_) && (fileops::SizeOf(fd_) != 0 || AppendWhole(fd_, kHeading));
    if (begun) {
        const std::string time = UtcNow();
        while (written < outcomes.size() &&
               AppendWhole(fd_, LogLine(time, command, outcomes[written])))
            ++written;
    }
    const int error = errno;
    fileops::Close(std::exchange(fd_, -1));  // the lock goes with it
    if (written == outcomes.size())
        return {};
    std::string unrecorded;
    for (const PortOutcome& outcome : outcomes.subspan(written))
        unrecorded += (unrecorded.empty() ? "" : ", ") + outcome.port + " (" +
                      (outcome.serial ? "serial " + SerialText(outcome) + ", " : "") +
                      std::string(NameOf(outcome.status)) + ")";
    return "cannot write the log " + path_ + ": " + std::strerror(error) +
           "; not recorded: " + unrecorded;
}

}  // namespace vortana
