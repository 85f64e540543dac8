// UniqueFd: sole owner of one POSIX file descriptor; closes it when destroyed or reset.
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
        if (this != &other) {
            Reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void Reset() {
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));  // the result of close tells nothing worth acting on
    }

  private:
    int fd_ = -1;
};

}  // namespace vortana
