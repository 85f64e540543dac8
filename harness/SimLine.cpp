#include "harness/SimLine.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vortana::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

}  // namespace

SimLine::SimLine(SimConfig config) : sim_(std::move(config)) {
    path_ = sim_.StartOnPty();
    fd_ = UniqueFd(::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd_)
        throw std::runtime_error("cannot open " + path_ + ": " + std::strerror(errno));
    termios settings{};
    ::tcgetattr(fd_.Get(), &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd_.Get(), TCSANOW, &settings);
}

void SimLine::Send(const Bytes& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t written = ::write(fd_.Get(), bytes.data() + sent, bytes.size() - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EAGAIN) {
            pollfd out{fd_.Get(), POLLOUT, 0};
            ::poll(&out, 1, 100);
        } else if (written < 0 && errno != EINTR) {
            throw std::runtime_error(std::string("writing to the simulator failed: ") +
                                     std::strerror(errno));
        }
    }
}

Bytes SimLine::ReadBurst(std::chrono::milliseconds wait, std::chrono::milliseconds gap) {
    Bytes burst;
    auto deadline = Clock::now() + wait;
    for (;;) {
        pollfd in{fd_.Get(), POLLIN, 0};
        if (::poll(&in, 1, MillisecondsUntil(deadline)) <= 0 || !(in.revents & POLLIN))
            return burst;
        std::uint8_t chunk[4096];
        const ssize_t count = ::read(fd_.Get(), chunk, sizeof chunk);
        if (count <= 0)
            return burst;
        burst.insert(burst.end(), chunk, chunk + count);
        deadline = Clock::now() + gap;
    }
}

Bytes SimLine::ReadCount(std::size_t count, std::chrono::milliseconds wait) {
    Bytes bytes;
    const auto deadline = Clock::now() + wait;
    while (bytes.size() < count) {
        pollfd in{fd_.Get(), POLLIN, 0};
        if (::poll(&in, 1, MillisecondsUntil(deadline)) <= 0 || !(in.revents & POLLIN))
            break;
        std::uint8_t chunk[4096];
        const ssize_t got = ::read(fd_.Get(), chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

bool SimLine::StaysQuiet(std::chrono::milliseconds wait) {
    return ReadBurst(wait).empty();
}

bool SimLine::LineEnds(std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    for (;;) {
        pollfd in{fd_.Get(), POLLIN, 0};
        if (::poll(&in, 1, MillisecondsUntil(deadline)) <= 0)
            return false;
        if (in.revents & (POLLHUP | POLLERR))
            return true;
        std::uint8_t chunk[4096];
        const ssize_t count = ::read(fd_.Get(), chunk, sizeof chunk);
        if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR))
            return true;
    }
}

Bytes Frame(std::uint8_t code, const Bytes& data) {
    Bytes frame{0x68, code, static_cast<std::uint8_t>(data.size())};
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(0x16);
    return frame;
}

Bytes SettingsFrame(std::uint8_t enables) {
    return Frame(0x06, {0x55, 0x50, 0x00, 0x00, enables});
}

Bytes HeaderFrame(std::uint8_t sizeK, std::uint8_t model, const Bytes& serial,
                  std::uint8_t increment) {
    Bytes data{sizeK, model};
    data.insert(data.end(), serial.begin(), serial.end());
    data.push_back(increment);
    return Frame(0x00, data);
}

Bytes ReadOutFrame(std::uint8_t startHigh, std::uint8_t sizeK, std::uint8_t model) {
    return Frame(0x04, {startHigh, sizeK, model});
}

Bytes Block(std::uint8_t number, std::uint8_t addressHigh, const Bytes& data) {
    Bytes block{number, addressHigh};
    std::uint32_t sum = 0;
    for (std::uint8_t byte : data)
        sum += byte;
    block.insert(block.end(), data.begin(), data.end());
    for (int shift = 24; shift >= 0; shift -= 8)
        block.push_back(static_cast<std::uint8_t>(sum >> shift));
    return block;
}

std::vector<Bytes> ImageBlocks(const Bytes& image, std::uint8_t model, std::uint8_t startHigh) {
    const bool window = model != 0x00;
    std::vector<Bytes> blocks;
    for (std::size_t j = 0; j * 4096 < image.size(); ++j) {
        std::uint8_t address = static_cast<std::uint8_t>(startHigh + 16 * j);
        if (window)
            address = j == 0 ? (model >= 0xB0 ? 0xB0 : 0x10)
                             : static_cast<std::uint8_t>(startHigh + 16 * (j - 1));
        const Bytes data(image.begin() + j * 4096, image.begin() + (j + 1) * 4096);
        blocks.push_back(Block(static_cast<std::uint8_t>(j), address, data));
    }
    return blocks;
}

Bytes PatternImage(std::size_t size, std::uint8_t seed) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<std::uint8_t>((i * 7 + i / 4096 * 13 + seed) & 0xFF);
    return image;
}

Bytes ReplyBytes(std::uint8_t code, std::uint8_t status, const Bytes& parameters) {
    Bytes reply{0x68, code, static_cast<std::uint8_t>(parameters.size() + 2), status};
    reply.insert(reply.end(), parameters.begin(), parameters.end());
    reply.push_back(0x16);
    return reply;
}

}  // namespace vortana::sim::test
