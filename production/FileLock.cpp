#include "production/FileLock.h"

#include <cerrno>
#include <cstring>

#include "production/JobError.h"
#include "shell/FileOps.h"

namespace vortana {

FileLock::FileLock(const std::string& path) : fd_(fileops::OpenForAppending(path)) {
    if (fd_ < 0 || !fileops::LockExclusive(fd_)) {
        const int error = errno;
        if (fd_ >= 0)
            fileops::Close(fd_);
        throw JobError(ExitStatus::FileRefused,
                       "cannot lock " + path + ": " + std::strerror(error));
    }
}

FileLock::~FileLock() {
    fileops::Close(fd_);  // closing releases the lock
}

}  // namespace vortana
