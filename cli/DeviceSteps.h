// DeviceSteps: the device protocol run synchronously on one connection, one step at a time:
// each sends its frame (or the download's header and blocks), waits for the answer and
// interprets it as the main window does, and reports progress as it goes.
//
// What each answer means is decided by MeaningOf (protocol/ReplyMeaning.h), as for the window:
// success ends the step; the device's failure, a read-protected chip, a verify mismatch (with its
// address and the bytes written and read back, each where the answer holds it) and any status the
// step does not expect end it with the exit status of each. The download answers the device's
// block requests; the read-out joins its pages across bursts.
//
// Replies carry nothing that ties them to their command, so each answer is kept with its own:
//   - before each step's frame the line goes quiet (Connection::LetLineGoQuiet): what came
//     unasked is dropped, bytes still arriving are waited out;
//   - the read-out takes exactly the chip's pages: bytes after the last page, in its burst or
//     while the line is watched after it, fail it as a device failure;
//   - after a time-out the step goes on listening, up to the late wait, for the answer still to
//     come; what it says (the late answer read by MeaningOf, or a read-out's further pages) goes
//     into the time-out's message, and the listening ends early once an answer that ends the
//     step has come and the line is quiet. The step still fails as timed out.
//
// Progress: blocks acknowledged during a download, pages received during a read-out (both with
// the remaining time at the rate so far), and for erase, program and verify the window's
// estimate (one percent per period of the operation, held at 98 % until the answer).
//
// Errors: every step throws JobError: TimedOut when no answer ends it within the time-out
// (counted from the step's start), and the statuses above. Qt-free; the connection's thread.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Connection.h"
#include "protocol/Frames.h"
#include "protocol/Operations.h"
#include "protocol/PageJoiner.h"
#include "shell/SessionState.h"

namespace vortana {
struct ReplyMeaning;
}

namespace vortana::cli {

struct StepProgress {
    std::string_view step;
    double fraction = 0;  // 0 to 1
    std::chrono::milliseconds elapsed{0};
    std::optional<std::chrono::milliseconds> remaining;  // when the step can tell
};

using ProgressReport = std::function<void(const StepProgress&)>;

struct StepWaits {
    std::chrono::milliseconds timeout;   // for the answer that ends a step, from its start
    std::chrono::milliseconds lateWait;  // after a time-out, for the answer still to come; 0: none
};

// The step's name for progress lines, the log and --json: "settings", "download", "erase",
// "program", "verify", "erase+program+verify", "read-out".
std::string_view StepName(CmdKindValue kind);

class DeviceSteps {
  public:
    // `session` holds the chosen model and the loaded image; it must outlive the steps and stay
    // unchanged while they run (several programmers may read it at once).
    DeviceSteps(Connection& connection, const SessionState& session, StepWaits waits,
                ProgressReport report);

    void Settings(const SettingsControls& controls);
    // Sends `header` and the image's blocks as the device asks for them; returns what the device
    // reports at the end ("the programmer reports length 1000").
    std::string Download(const Frame& header);
    // Erase, program, verify or erase+program+verify.
    void Run(CmdKindValue kind);
    // The chip's pages, additional window first, ImageSize / 4096 of them.
    std::vector<ReadOutPage> ReadOut();

  private:
    using BurstHandler = std::function<bool(const Burst&)>;  // true: the step is over
    using Estimate = std::function<StepProgress()>;
    // What a burst that comes after the time-out tells.
    struct LateBurst {
        std::string said;    // empty: nothing (a reply too short to hold a status)
        bool final = false;  // the answer is over with it
    };
    using LateListener = std::function<LateBurst(const Burst&)>;
    // What a late reply tells `kind`: a block request is no end, an answer that ends the step is.
    static LateBurst LateReply(CmdKindValue kind, const ReplyMeaning& meaning);

    // Sends `frame` (and whatever `afterSend` sends unasked), then hands bursts to `handle` until
    // it says the step is over, reporting `estimate` at every tick; throws JobError(TimedOut) when
    // the time-out passes first, once the late answer has been listened for with `late` (by
    // default the reply's meaning for `kind`).
    void Exchange(CmdKindValue kind, const Frame& frame, const BurstHandler& handle,
                  const Estimate& estimate, const std::function<void()>& afterSend = {},
                  const LateListener& late = {});
    // Listens up to the late wait; the words that tell what came, for the time-out's message.
    std::string LateAnswer(const LateListener& listen);
    // Sends `frame` and waits for the status reply that ends the step.
    void AwaitStatus(CmdKindValue kind, const Frame& frame);
    StepProgress Measured(CmdKindValue kind, std::size_t done, std::size_t total) const;
    StepProgress Estimated(CmdKindValue kind) const;

    Connection& connection_;
    const SessionState& session_;
    StepWaits waits_;
    ProgressReport report_;
    std::chrono::steady_clock::time_point stepStart_;
};

}  // namespace vortana::cli
