#include "cli/OutputCheck.h"

#include <cerrno>
#include <cstring>

namespace vortana::cli {
namespace {

// The stream's own storage slot for the errno of its first failure; 0 while none was noted.
int FailureSlot() {
    static const int slot = std::ios_base::xalloc();
    return slot;
}

constexpr long kReasonUnknown = -1;

void NoteFailure(std::ostream& out, int error) {
    long& noted = out.iword(FailureSlot());
    if (noted == 0)
        noted = error != 0 ? error : kReasonUnknown;
}

}  // namespace

void FlushChecked(std::ostream& out) {
    if (!out) {  // a write just before failed, and errno tells why
        NoteFailure(out, errno);
        return;
    }
    errno = 0;
    out.flush();
    if (!out)
        NoteFailure(out, errno);
}

std::optional<std::string> OutputFailure(std::ostream& out) {
    FlushChecked(out);
    if (out)
        return std::nullopt;
    const long noted = out.iword(FailureSlot());
    return noted == kReasonUnknown ? "write error" : std::strerror(static_cast<int>(noted));
}

}  // namespace vortana::cli
