#include "production/SerialCounter.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "image/SerialNumber.h"
#include "production/FileLock.h"
#include "production/JobError.h"
#include "production/SerialRange.h"
#include "shell/FileAccess.h"
#include "shell/FileOps.h"

namespace vortana {
namespace {

[[noreturn]] void Refuse(const std::string& what) {
    throw JobError(ExitStatus::FileRefused, what);
}

std::int64_t NextFree(const std::string& path, std::int64_t first) {
    std::string text;
    try {
        text = ReadFileBytes(path);
    } catch (const EFileError& error) {
        if (error.ErrorNumber() != ENOENT)
            Refuse(error.what());
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (text.empty())
        return first;
    if (text.find_first_not_of("0123456789") != std::string::npos)
        Refuse("the serial counter file " + path + " holds no number: '" + text + "'");
    std::int64_t next = 0;
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), next);
    if (failed != std::errc() || next > kSerialNumberMax)  // digits alone fail only when too many
        Refuse("the serial counter file " + path + " holds " + text + ", past the device's ten " +
               "digits (" + std::to_string(kSerialNumberMax) + "): no serial number is left");
    return next;
}

// The counter's one name, which the lock beside it is named after.
std::string ResolvedCounter(const std::string& counterFile) {
    const std::string resolved = fileops::ResolvedPath(counterFile);
    if (resolved.empty())
        Refuse("cannot find the serial counter file " + counterFile + ": " + std::strerror(errno));
    return resolved;
}

}  // namespace

std::int64_t ReserveSerialNumbers(const std::string& counterFile, std::int64_t count,
                                  std::int64_t first) {
    const std::string counter = ResolvedCounter(counterFile);
    const FileLock lock(counter + ".lock");
    const std::int64_t start = NextFree(counter, first);
    RequireSerialRange(start, count);
    try {
        ReplaceFileAtomically(counter, std::to_string(start + count) + "\n");
    } catch (const EFileError& error) {
        Refuse(error.what());
    }
    return start;
}

std::int64_t SerialCounterFile::TakeRound(const SerialRound& round) {
    return ReserveSerialNumbers(counterFile_, SerialRangeSize(round.span, round.ports.size()),
                                round.first);
}

}  // namespace vortana
