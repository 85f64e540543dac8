// UniqueFd: sole owner of one POSIX file descriptor, closed when the owner is destroyed, reset
// or given another one. Close closes at once and returns close's result, for callers that must
// report a failed close (a file written through the descriptor); the destructor and Reset ignore
// it. Qt-free; one owner at a time, no locking of its own.
#pragma once

#include <unistd.h>

#include <utility>

namespace vortana {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes the descriptor held, if any, and takes `fd` (-1: none).
    void Reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes the descriptor now; returns close's result (-1 with errno set on failure).
    int Close() { return ::close(std::exchange(fd_, -1)); }

  private:
    int fd_ = -1;
};

}  // namespace vortana
