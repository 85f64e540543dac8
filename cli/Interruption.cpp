#include "cli/Interruption.h"

#include <atomic>

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

void NoteInterruption(int signal) {
    int none = 0;
    noted.compare_exchange_strong(none, signal);
}

}  // namespace vortana::cli
