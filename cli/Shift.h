// Shift: a download job run board after board on the same ports (`run --loop`), as a station
// runs it through a shift. After each round on all its ports the round's boards and count are
// shown (cli/ShiftReport.h) and the operator is asked for the next: Enter runs it, "q" or the end
// of the input ends the shift with its count. Each round is a run of its own: new serial numbers
// from the counter, the ports opened anew (so a programmer plugged in again is found again), the
// records appended to the log; a failed programmer does not stop the others nor the next round.
//
// The shift ends early, after the round's records and report, when an interruption is noted
// (also while it waits for the operator) or a round's records could not be written; before a
// round, when its numbers cannot be taken or its log cannot be opened (that message ends it).
//
// Exit status: the status of the first round that did not succeed (production/ShiftTally.h),
// else that of what ended the shift early, else success: 0 only when every board of every round
// passed and was recorded. A signal's 128 + N is the program's last word (cli/Program.h).
// Threads: the main thread, and the job's port threads during a round.
#pragma once

#include "cli/JobSetup.h"

namespace vortana::cli {

inline constexpr OptionSpec kLoopOptions[] = {
    {"--loop", "", "board after board: after each round, Enter runs the next, q ends the shift"}};

ExitStatus RunShift(JobPlan& plan, const Invocation& invocation, const SerialNumbering& numbering);

}  // namespace vortana::cli
