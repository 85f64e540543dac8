#include "cli/SerialCounter.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "cli/JobError.h"
#include "image/SerialNumber.h"
#include "shell/FileAccess.h"
#include "shell/FileOps.h"

namespace vortana::cli {
namespace {

[[noreturn]] void Refuse(const std::string& what) {
    throw JobError(ExitStatus::FileRefused, what);
}

// The lock file, open and locked for as long as the object lives.
class CounterLock {
  public:
    explicit CounterLock(const std::string& path) : fd_(fileops::OpenForAppending(path)) {
        if (fd_ < 0 || !fileops::LockExclusive(fd_))
            Refuse("cannot lock " + path + ": " + std::strerror(errno));
    }
    ~CounterLock() {
        if (fd_ >= 0)
            fileops::Close(fd_);  // closing releases the lock
    }
    CounterLock(const CounterLock&) = delete;
    CounterLock& operator=(const CounterLock&) = delete;

  private:
    int fd_;
};

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
    std::int64_t next = 0;
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), next);
    if (failed != std::errc() || end != text.data() + text.size() || next < 0)
        Refuse("the serial counter file " + path + " holds no number: '" + text + "'");
    return next;
}

}  // namespace

std::int64_t ReserveSerialNumbers(const std::string& counterFile, std::int64_t count,
                                  std::int64_t first) {
    const CounterLock lock(counterFile + ".lock");
    const std::int64_t start = NextFree(counterFile, first);
    if (start + count - 1 > kSerialNumberMax)
        Refuse("serial numbers from " + std::to_string(start) + " would pass " +
               std::to_string(kSerialNumberMax));
    try {
        ReplaceFileAtomically(counterFile, std::to_string(start + count) + "\n");
    } catch (const EFileError& error) {
        Refuse(error.what());
    }
    return start;
}

}  // namespace vortana::cli
