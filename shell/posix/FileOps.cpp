#include "shell/FileOps.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vortana::fileops {
namespace {

// As many links as the system itself follows in one name before it calls them a loop.
constexpr int kMaxLinksFollowed = 40;

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? resolved : "";
}

// Where the link at `path` points, a relative target taken from the link's folder; empty when
// `path` is no link.
std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length < 0)
        return {};
    const std::filesystem::path link(path);
    return (link.parent_path() / std::string(target, static_cast<std::size_t>(length))).string();
}

}  // namespace

int OpenForReading(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int CreateNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int OpenForWriting(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
}

int OpenForAppending(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
}

long ReadSome(int fd, char* into, std::size_t count) {
    return ::read(fd, into, count);
}

long WriteSome(int fd, const char* bytes, std::size_t count) {
    return ::write(fd, bytes, count);
}

bool Rewind(int fd) {
    return ::lseek(fd, 0, SEEK_SET) == 0;
}

bool SetSize(int fd, std::size_t size) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0;
}

int Reserve(int fd, std::size_t size) {
    return ::posix_fallocate(fd, 0, static_cast<off_t>(size));
}

bool LockExclusive(int fd) {
    return ::flock(fd, LOCK_EX) == 0;
}

long long SizeOf(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? static_cast<long long>(status.st_size) : -1;
}

bool FlushToDisk(int fd) {
    return ::fsync(fd) == 0;
}

bool Close(int fd) {
    return ::close(fd) == 0;
}

bool RenameOver(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

// A second name, then the first one taken away: link() refuses a name that is taken.
bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());  // left beside, the file is still whole under its new name
    return true;
}

bool Remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

int ProcessId() {
    return static_cast<int>(::getpid());
}

std::string ResolvedPath(const std::string& path) {
    std::string name = path;
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        if (std::string real = RealPath(name); !real.empty())
            return real;
        if (errno != ENOENT)
            return {};
        const std::string target = LinkTarget(name);
        if (target.empty()) {
            const std::filesystem::path missing(name);
            const std::string folder =
                RealPath(missing.has_parent_path() ? missing.parent_path().string() : ".");
            return folder.empty() ? folder : folder + "/" + missing.filename().string();
        }
        name = target;
    }
    errno = ELOOP;
    return {};
}

}  // namespace vortana::fileops
