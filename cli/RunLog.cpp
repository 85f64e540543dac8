#include "cli/RunLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "cli/JobError.h"
#include "cli/Reporter.h"
#include "cli/Text.h"

namespace vortana::cli {
namespace {

constexpr const char* kHeading =
    "time,command,port,serial,checksum,outcome,exit,duration_s,message\n";

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
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
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw JobError(ExitStatus::FileRefused,
                       "cannot open the log " + path + ": " + std::strerror(errno));
    std::string text;
    struct stat status {};
    const bool locked = ::flock(fd, LOCK_EX) == 0;
    if (locked && ::fstat(fd, &status) == 0 && status.st_size == 0)
        text = kHeading;
    const std::string time = UtcNow();
    for (const PortOutcome& outcome : outcomes)
        text += LogLine(time, command, outcome);
    const bool written =
        locked && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int error = errno;
    ::close(fd);
    if (!written)
        throw JobError(ExitStatus::FileRefused,
                       "cannot write the log " + path + ": " + std::strerror(error));
}

}  // namespace vortana::cli
