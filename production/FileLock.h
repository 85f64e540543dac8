// FileLock: an advisory lock on a lock file (made when missing), held for as long as the object
// lives, so that processes sharing a file (the serial counter, the records' spool) take turns
// reading and rewriting it; the file they share is replaced atomically beside it, so its lock
// lives in a file of its own.
//
// Errors: the constructor throws JobError(FileRefused) naming the lock file and the system's
// reason. Qt-free; any thread.
#pragma once

#include <string>

namespace vortana {

class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_;
};

}  // namespace vortana
