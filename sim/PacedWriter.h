// Writes the device's bursts to the line no faster than a serial line at the given baud rate
// would carry them (8N1: ten bits a byte, so 38400 baud is 3840 bytes a second), or at once
// when pacing is off. Every wait also watches a stop signal and ends early when it is raised.
//
// Qt-free; used by one thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace vortana::sim {

// How long a serial line at `baud` (8N1: ten bits a byte) takes to carry `bytes`.
std::chrono::duration<double> LineTime(std::size_t bytes, unsigned baud);

// Waits up to `timeout` for `stopFd` to become readable; true when it did.
bool WaitForStop(int stopFd, std::chrono::milliseconds timeout);

class PacedWriter {
  public:
    // baud 0: no pacing.
    PacedWriter(int fd, int stopFd, unsigned baud) : fd_(fd), stopFd_(stopFd), baud_(baud) {}

    enum class Result { Written, Stopped, LineFailed };
    Result Write(std::span<const std::uint8_t> bytes);

  private:
    Result WriteSome(std::span<const std::uint8_t>& bytes, std::size_t count);

    int fd_;
    int stopFd_;
    unsigned baud_;
};

}  // namespace vortana::sim
