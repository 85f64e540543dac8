#include "sim/Simulator.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace vortana::sim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kLineRetry{100};
constexpr std::size_t kReadChunk = 4096;

DeviceConfig DeviceConfigOf(const SimConfig& config) {
    return {config.workScale, config.readProtected, config.fill};
}

}  // namespace

Simulator::Simulator(SimConfig config)
    : config_(std::move(config)),
      trace_(config_.trace),
      device_(DeviceConfigOf(config_), trace_),
      rawQueued_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!rawQueued_)
        throw SimError("cannot create the raw-burst signal");
    for (const Fault& fault : config_.faults)
        device_.ArmFault(fault);
}

Simulator::~Simulator() {
    Stop();
}

std::string Simulator::StartOnPty() {
    PtyLine pty = OpenPtyLine();
    heldSlave_ = std::move(pty.slave);
    Start(std::move(pty.master));
    return pty.slavePath;
}

void Simulator::StartOnLine(UniqueFd line) {
    Start(std::move(line));
}

void Simulator::Start(UniqueFd line) {
    if (thread_.joinable() || stop_)
        throw std::logic_error("the simulator is already started");
    stop_ = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!stop_)
        throw SimError("cannot create the stop signal");
    line_ = std::move(line);
    serving_ = true;
    thread_ = std::thread([this] { Serve(); });
}

void Simulator::Stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(stop_.Get(), &one, sizeof one);
        thread_.join();
    }
    line_.Reset();
    heldSlave_.Reset();
    serving_ = false;
}

void Simulator::InjectFault(const Fault& fault) {
    std::lock_guard lock(mutex_);
    device_.ArmFault(fault);
}

void Simulator::SendRaw(Bytes bytes) {
    {
        std::lock_guard lock(mutex_);
        raw_.push_back(std::move(bytes));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(rawQueued_.Get(), &one, sizeof one);
}

std::vector<Answer> Simulator::TakeRaw() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(rawQueued_.Get(), &count, sizeof count);
    std::vector<Bytes> raw;
    {
        std::lock_guard lock(mutex_);
        raw.swap(raw_);
    }
    std::vector<Answer> answers;
    for (Bytes& bytes : raw)
        answers.push_back({.bursts = {{.bytes = std::move(bytes), .name = "raw bytes"}}});
    return answers;
}

std::size_t Simulator::FaultsWaiting() const {
    std::lock_guard lock(mutex_);
    return device_.FaultsWaiting();
}

DeviceState Simulator::State() const {
    std::lock_guard lock(mutex_);
    return device_.State();
}

bool Simulator::WaitUntil(const std::function<bool(const DeviceState&)>& condition,
                          std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return condition(device_.State()); });
}

std::vector<Answer> Simulator::Locked(const std::function<std::vector<Answer>(Device&)>& step) {
    std::vector<Answer> answers;
    {
        std::lock_guard lock(mutex_);
        answers = step(device_);
    }
    changed_.notify_all();
    return answers;
}

void Simulator::Serve() {
    auto lastInput = Clock::now();
    for (;;) {
        int timeout = -1;
        bool incomplete;
        {
            std::lock_guard lock(mutex_);
            incomplete = device_.HoldsIncomplete();
        }
        if (incomplete) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                lastInput + kIncompleteTimeout - Clock::now());
            timeout = static_cast<int>(std::max<std::int64_t>(left.count(), 0));
        }
        std::array<pollfd, 3> waits{
            {{line_.Get(), POLLIN, 0}, {stop_.Get(), POLLIN, 0}, {rawQueued_.Get(), POLLIN, 0}}};
        const int ready = ::poll(waits.data(), waits.size(), timeout);
        if (ready < 0 && errno != EINTR)
            break;
        if (waits[1].revents & POLLIN)
            break;
        std::vector<Answer> answers;
        if (ready == 0) {
            answers = Locked([](Device& device) { return device.LineWentQuiet(); });
        } else if (waits[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            bool lineFailed = false;
            answers = ReadLine(lastInput, lineFailed);
            if (lineFailed && WaitForStop(stop_.Get(), kLineRetry))
                break;
        }
        if (waits[2].revents & POLLIN) {
            std::vector<Answer> raw = TakeRaw();
            answers.insert(answers.end(), std::make_move_iterator(raw.begin()),
                           std::make_move_iterator(raw.end()));
        }
        if (!Send(answers))
            break;
    }
    {
        // Under the lock, so that a WaitUntil looking at Serving() cannot miss the change.
        std::lock_guard lock(mutex_);
        serving_ = false;
    }
    changed_.notify_all();
}

std::vector<Answer> Simulator::ReadLine(std::chrono::steady_clock::time_point& lastInput,
                                        bool& lineFailed) {
    std::array<std::uint8_t, kReadChunk> buffer;
    const ssize_t count = ::read(line_.Get(), buffer.data(), buffer.size());
    if (count > 0) {
        if (config_.pace)
            AwaitLineTime(static_cast<std::size_t>(count));
        lastInput = Clock::now();
        const std::span<const std::uint8_t> bytes(buffer.data(), static_cast<std::size_t>(count));
        return Locked([bytes](Device& device) { return device.Feed(bytes); });
    }
    // Nothing to read yet (EAGAIN, EINTR), or the line has gone (EIO, end of file).
    lineFailed = count == 0 || (errno != EAGAIN && errno != EINTR);
    return {};
}

// A pseudo-terminal hands over what the front end writes at once, where a serial line would
// carry it at the baud rate: the device takes bytes only once they could have come over the
// line, starting when they were read or when the line had carried the earlier ones. On a real
// line the bytes did take that long already; the wait then adds one read's line time at most.
void Simulator::AwaitLineTime(std::size_t count) {
    const auto now = Clock::now();
    receivedByLine_ = std::max(now, receivedByLine_) +
                      std::chrono::duration_cast<Clock::duration>(LineTime(count, config_.baud));
    // A stop raised meanwhile is seen by the serving loop's next wait.
    WaitForStop(stop_.Get(), std::chrono::ceil<std::chrono::milliseconds>(receivedByLine_ - now));
}

bool Simulator::Send(const std::vector<Answer>& answers) {
    PacedWriter writer(line_.Get(), stop_.Get(), config_.pace ? config_.baud : 0);
    for (const Answer& answer : answers) {
        for (const Burst& burst : answer.bursts) {
            if (WaitForStop(stop_.Get(), burst.pause))
                return false;
            trace_.Sent(burst.bytes, burst.name);
            const auto result = writer.Write(burst.bytes);
            if (result == PacedWriter::Result::Stopped)
                return false;
            if (result == PacedWriter::Result::LineFailed) {
                trace_.Note("the line failed: the rest of this answer is lost");
                break;
            }
        }
        if (answer.hangUp) {
            trace_.Note("hanging up the line");
            line_.Reset();
            heldSlave_.Reset();
            std::lock_guard lock(mutex_);
            hungUp_ = true;
            return false;
        }
    }
    return true;
}

}  // namespace vortana::sim
