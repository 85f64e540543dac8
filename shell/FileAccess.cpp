#include "shell/FileAccess.h"

#include "base/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

namespace vortana {
namespace {

// How many names beside the target are tried for the new file before giving up.
constexpr int kTemporaryNameAttempts = 100;
constexpr std::size_t kReadChunk = 65536;

// The file a link at `path` points to, or `path` itself.
std::string FollowLink(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path;  // a dangling link: the rename below replaces the link itself
    return resolved;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes `bytes` from the start of the file and cuts it there.
bool WriteWhole(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
}

// Creates a new file beside `target`, named after it, and returns its descriptor and name.
int CreateBeside(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = target + ".new" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

EFileError::EFileError(std::string_view action, const std::string& path, int errorNumber)
    : std::runtime_error(std::string(action) + " file \"" + path + "\". " +
                         std::generic_category().message(errorNumber)),
      errorNumber_(errorNumber) {}

std::string ReadFileBytes(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw EFileError("Cannot open", path, errno);
    std::string bytes;
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(fd.Get(), chunk, sizeof chunk);
        if (count == 0)
            return bytes;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            throw EFileError("Cannot read", path, errno);
        }
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
}

void ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = FollowLink(path);
    std::string temporary;
    UniqueFd fd(CreateBeside(target, temporary));
    if (fd.Get() < 0)
        throw EFileError("Cannot create", path, errno);

    struct stat old {};
    const bool keepMode = ::stat(target.c_str(), &old) == 0;
    const bool written = (!keepMode || ::fchmod(fd.Get(), old.st_mode & 07777) == 0) &&
                         WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
    const int writeError = errno;
    if (!written || fd.Close() != 0 || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        throw EFileError("Cannot write", path, error);
    }
}

void RewriteFileInPlace(const std::string& path, std::string_view bytes) {
    const std::string old = ReadFileBytes(path);
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw EFileError("Cannot write", path, errno);
    // posix_fallocate returns its error rather than setting errno.
    const int roomError = bytes.size() > old.size()
                              ? ::posix_fallocate(fd.Get(), 0, static_cast<off_t>(bytes.size()))
                              : 0;
    if (roomError != 0)
        throw EFileError("Cannot write", path, roomError);
    if (!WriteWhole(fd.Get(), bytes) || ::fsync(fd.Get()) != 0) {
        const int error = errno;
        WriteWhole(fd.Get(), old);
        throw EFileError("Cannot write", path, error);
    }
    if (fd.Close() != 0)
        throw EFileError("Cannot write", path, errno);
}

}  // namespace vortana
