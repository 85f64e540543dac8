// ShiftReport: what a shift (`run --loop`) tells between its rounds and at its end, after each
// round's own report (cli/Reporter.h):
//   - for people, each round's boards (one line a programmer: serial number, sums, outcome,
//     duration; a failed one in red on a terminal, its outcome in words everywhere), the
//     round's count and serial numbers, and what the operator may type; at the end, the
//     shift's count and the serial numbers it took;
//   - with --json, one object a round and one for the shift, then the program's "end" event:
//       {"event":"round","round":N,"passed":N,"failed":N,"boards":N,"serials":[[FIRST,LAST],...],
//        "outcome":NAME,"exit":N[,"message":T]}
//       {"event":"shift","rounds":N,"passed":N,"failed":N,"boards":N,"serials":[[FIRST,LAST],...]}
// Threads: the main thread, between rounds.
#pragma once

#include <span>
#include <string_view>

#include "cli/Command.h"
#include "production/PortOutcome.h"
#include "production/ShiftTally.h"

namespace vortana::cli {

class ShiftReport {
  public:
    explicit ShiftReport(const Invocation& invocation) : invocation_(invocation) {}

    // `recordFailure`: what the log could not take, if anything.
    void Round(const RoundTally& round, std::span<const PortOutcome> outcomes,
               std::string_view recordFailure);
    // Asks for the next command; `refused` is the line that was none, if one was.
    void Prompt(std::string_view refused = {});
    // The shift's end, with the message of what ended it early, if anything did.
    void Finish(const ShiftTally& tally, ExitStatus status, std::string_view message);

  private:
    void Say(const std::string& text);

    const Invocation& invocation_;
};

}  // namespace vortana::cli
