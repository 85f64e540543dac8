#include "cli/RunLog.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "cli/JobError.h"
#include "cli/Reporter.h"
#include "cli/Text.h"
#include "shell/FileOps.h"

namespace vortana::cli {
namespace {

constexpr const char* kHeading =
    "time,command,port,serial,checksum,outcome,exit,duration_s,message\n";

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

std::string LogLine(const std::string& time, std::string_view command, const PortOutcome& outcome) {
    return time + "," + CsvField(command) + "," + CsvField(outcome.port) + "," +
           (outcome.serial ? std::to_string(*outcome.serial) : "") + "," +
           (outcome.checksum ? ChecksumText(outcome.checksum) : "") + "," +
           std::string(NameOf(outcome.status)) + "," +
           std::to_string(static_cast<int>(outcome.status)) + "," + SecondsValue(outcome.duration) +
           "," + CsvField(outcome.message) + "\n";
}

}  // namespace

void AppendRunLog(const std::string& path, std::string_view command,
                  std::span<const PortOutcome> outcomes) {
    const int fd = fileops::OpenForAppending(path);
    if (fd < 0)
        throw JobError(ExitStatus::FileRefused,
                       "cannot open the log " + path + ": " + std::strerror(errno));
    std::string text;
    const bool locked = fileops::LockExclusive(fd);
    if (locked && fileops::SizeOf(fd) == 0)
        text = kHeading;
    const std::string time = UtcNow();
    for (const PortOutcome& outcome : outcomes)
        text += LogLine(time, command, outcome);
    const bool written = locked && fileops::WriteSome(fd, text.data(), text.size()) ==
                                       static_cast<long>(text.size());
    const int error = errno;
    fileops::Close(fd);
    if (!written)
        throw JobError(ExitStatus::FileRefused,
                       "cannot write the log " + path + ": " + std::strerror(error));
}

}  // namespace vortana::cli
