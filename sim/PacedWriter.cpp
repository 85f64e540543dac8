#include "sim/PacedWriter.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vortana::sim {
namespace {

constexpr unsigned kBitsPerByte = 10;  // start bit, 8 data bits, stop bit
// Bytes go out in slices of about this much line time, not one write per byte.
constexpr std::chrono::milliseconds kSlice{10};

using Clock = std::chrono::steady_clock;

}  // namespace

std::chrono::duration<double> LineTime(std::size_t bytes, unsigned baud) {
    return std::chrono::duration<double>(static_cast<double>(bytes) * kBitsPerByte / baud);
}

bool WaitForStop(int stopFd, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd stop{stopFd, POLLIN, 0};
        const int ready =
            ::poll(&stop, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (ready > 0)
            return true;
        if (ready == 0 || (ready < 0 && errno != EINTR && errno != EAGAIN))
            return false;
    }
}

PacedWriter::Result PacedWriter::Write(std::span<const std::uint8_t> bytes) {
    if (baud_ == 0)
        return WriteSome(bytes, bytes.size());
    const double bytesPerSecond = static_cast<double>(baud_) / kBitsPerByte;
    const auto sliceBytes =
        std::max<std::size_t>(1, static_cast<std::size_t>(bytesPerSecond * kSlice.count() / 1000));
    const auto start = Clock::now();
    std::size_t sent = 0;
    const std::size_t total = bytes.size();
    while (sent < total) {
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        const auto due =
            std::min(total, static_cast<std::size_t>(elapsed.count() * bytesPerSecond));
        const std::size_t next = sent + std::min(sliceBytes, total - sent);
        if (due < next) {
            // Not yet time for the next slice: wait until it is.
            const std::chrono::duration<double> at(next / bytesPerSecond);
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(at - elapsed);
            if (WaitForStop(stopFd_, std::max(wait, std::chrono::milliseconds{1})))
                return Result::Stopped;
            continue;
        }
        if (Result result = WriteSome(bytes, due - sent); result != Result::Written)
            return result;
        sent = total - bytes.size();
    }
    return Result::Written;
}

PacedWriter::Result PacedWriter::WriteSome(std::span<const std::uint8_t>& bytes,
                                           std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd_, bytes.data(), count);
        if (written > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            count -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return Result::LineFailed;
        // The line's buffer is full: wait until it takes more, or until asked to stop.
        pollfd waits[2] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0 && errno != EINTR)
            return Result::LineFailed;
        if (waits[1].revents & POLLIN)
            return Result::Stopped;
    }
    return Result::Written;
}

}  // namespace vortana::sim
