#include "cli/OperatorInput.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "cli/Interruption.h"

namespace vortana::cli {
namespace {

// How often a wait for the operator looks for an interruption, as the port threads' waits do.
constexpr std::chrono::milliseconds kInterruptionCheck{100};

}  // namespace

struct OperatorInput::Read {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::optional<std::string> line;
};

std::optional<std::string> OperatorInput::NextLine() {
    if (in_ == nullptr || InterruptionSignal() != 0)
        return std::nullopt;
    if (!read_) {
        read_ = std::make_shared<Read>();
        std::thread([read = read_, in = in_] {
            std::string line;
            const bool got = static_cast<bool>(std::getline(*in, line));
            const std::lock_guard lock(read->mutex);
            if (got)
                read->line = line;
            read->finished = true;
            read->done.notify_one();
        }).detach();
    }
    std::unique_lock lock(read_->mutex);
    while (!read_->done.wait_for(lock, kInterruptionCheck, [this] { return read_->finished; }))
        if (InterruptionSignal() != 0)
            return std::nullopt;  // the read goes on without us
    if (InterruptionSignal() != 0)
        return std::nullopt;  // a line that came with the signal starts nothing
    std::optional<std::string> line = std::move(read_->line);
    lock.unlock();
    read_.reset();
    if (!line)
        in_ = nullptr;  // ended: no more reads
    return line;
}

}  // namespace vortana::cli
