#include "cli/Interruption.h"

#include <atomic>
#include <string>

namespace vortana::cli {
namespace {

// Lock-free, so a signal handler may store into it.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

int InterruptionSignal() {
    return noted.load();
}

void SetInterruptionSignal(int signal) {
    noted.store(signal);
}

JobError InterruptionError(std::string_view when) {
    const int signal = InterruptionSignal();
    return JobError(InterruptedBy(signal),
                    "interrupted by signal " + std::to_string(signal) + std::string(when));
}

void NoteInterruption(int signal) {
    int none = 0;
    noted.compare_exchange_strong(none, signal);
}

}  // namespace vortana::cli
