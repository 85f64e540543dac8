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

namespace vortana::cli {

struct StepProgress {
    std::string_view step;
    double fraction = 0;  // 0 to 1
    std::chrono::milliseconds elapsed{0};
    std::optional<std::chrono::milliseconds> remaining;  // when the step can tell
};

using ProgressReport = std::function<void(const StepProgress&)>;

// The step's name for progress lines, the log and --json: "settings", "download", "erase",
// "program", "verify", "erase+program+verify", "read-out".
std::string_view StepName(CmdKindValue kind);

class DeviceSteps {
  public:
    // `session` holds the chosen model and the loaded image; it must outlive the steps and stay
    // unchanged while they run (several programmers may read it at once).
    DeviceSteps(Connection& connection, const SessionState& session,
                std::chrono::milliseconds timeout, ProgressReport report);

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

    // Sends `frame` (and whatever `afterSend` sends unasked), then hands bursts to `handle` until
    // it says the step is over, reporting `estimate` at every tick; throws JobError(TimedOut) when
    // the time-out passes first.
    void Exchange(CmdKindValue kind, const Frame& frame, const BurstHandler& handle,
                  const Estimate& estimate, const std::function<void()>& afterSend = {});
    // Sends `frame` and waits for the status reply that ends the step.
    void AwaitStatus(CmdKindValue kind, const Frame& frame);
    StepProgress Measured(CmdKindValue kind, std::size_t done, std::size_t total) const;
    StepProgress Estimated(CmdKindValue kind) const;

    Connection& connection_;
    const SessionState& session_;
    std::chrono::milliseconds timeout_;
    ProgressReport report_;
    std::chrono::steady_clock::time_point stepStart_;
};

}  // namespace vortana::cli
