#include "harness/Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace vortana::test {

Pty::Pty() {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    master_ = UniqueFd(master);
    slave_ = UniqueFd(slave);
    slavePath_ = name;
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    for (int fd : {master, slave}) {
        termios raw{};
        ::tcgetattr(fd, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
}

void Pty::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(master_.Get(), bytes.data(), bytes.size());
        if (n > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            throw std::runtime_error("write to the pty master failed");
        pollfd out{master_.Get(), POLLOUT, 0};
        ::poll(&out, 1, 100);
    }
}

void Pty::Write(const std::string& text) {
    Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::uint8_t> Pty::Read(std::size_t count, std::chrono::milliseconds timeout) {
    std::vector<std::uint8_t> got;
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::uint8_t buffer[4096];
    while (got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd in{master_.Get(), POLLIN, 0};
        if (::poll(&in, 1, static_cast<int>(left.count())) <= 0)
            continue;
        const ssize_t n =
            ::read(master_.Get(), buffer, std::min(sizeof buffer, count - got.size()));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            break;
        if (n > 0)
            got.insert(got.end(), buffer, buffer + n);
    }
    return got;
}

std::vector<std::uint8_t> Pty::ReadUntilQuiet(std::chrono::milliseconds quiet) {
    return test::ReadUntilQuiet(
        [this](std::chrono::milliseconds period) { return Read(1 << 20, period); }, quiet);
}

termios Pty::SlaveSettings() const {
    termios t{};
    ::tcgetattr(slave_.Get(), &t);
    return t;
}

void Pty::SetSlaveSettings(const termios& settings) {
    ::tcsetattr(slave_.Get(), TCSANOW, &settings);
}

void Pty::CloseMaster() {
    master_.Reset();
}

}  // namespace vortana::test
