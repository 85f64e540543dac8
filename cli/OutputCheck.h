// OutputCheck: whether what the program wrote to a stream (standard output) arrived. A write to
// a full disk, a pipe whose reader has gone or a terminal that was closed only sets the stream's
// failure state, and everything after it is dropped; a run that says nothing of it would end
// with status 0 and nothing delivered. So the reporters flush through FlushChecked after each
// write, which notes the system's reason for the first failure on the stream itself, and the
// program checks the stream once more at its end (cli/Program.h: exit status 3 unless the run
// failed otherwise). Qt-free; a stream is checked by the thread that writes to it (the
// reporters hold their lock).
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace vortana::cli {

// Flushes `out`; when the stream has failed, notes the reason (errno) the first time. Call it
// right after writing, so that errno is still the failed write's.
void FlushChecked(std::ostream& out);

// Why what was written to `out` did not all arrive ("No space left on device"), or nullopt
// while the stream is good. Flushes it first.
std::optional<std::string> OutputFailure(std::ostream& out);

}  // namespace vortana::cli
