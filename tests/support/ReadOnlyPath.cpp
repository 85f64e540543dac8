#include "tests/support/ReadOnlyPath.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vortana::test {
namespace {

namespace fs = std::filesystem;

constexpr auto kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;

bool IsRoot() {
    return ::geteuid() == 0;
}

}  // namespace

ReadOnlyPath::ReadOnlyPath(std::string path) : path_(std::move(path)) {
    fs::permissions(path_, kWrite, fs::perm_options::remove);
    if (IsRoot() && !SetImmutable(true))
        ADD_FAILURE() << "cannot make " << path_ << " immutable: " << std::strerror(errno);
}

ReadOnlyPath::~ReadOnlyPath() {
    if (IsRoot())
        SetImmutable(false);
    fs::permissions(path_, fs::perms::owner_write, fs::perm_options::add);
}

int ReadOnlyPath::RefusalError() {
    return IsRoot() ? EPERM : EACCES;
}

bool ReadOnlyPath::SetImmutable(bool on) const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace vortana::test
