// Job: what a device command does on every programmer it is given, and how it ended on each.
//
// A job is a list of steps (settings, download, erase, program, verify, erase+program+verify,
// read-out) run in order on one connection per port; the first step that fails ends the job on
// that port. With several ports the job runs on all of them at once, one thread per port, and a
// programmer that fails does not stop the others.
//
// The plan is made and filled (model, image, download headers) on the main thread before the
// run; while it runs, the port threads only read it and tell its serial source of their ends.
// The read-out's pages go to `savePages`, on the port's thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "production/PortOutcome.h"
#include "production/RunLog.h"
#include "production/SerialSource.h"
#include "protocol/Frames.h"
#include "protocol/PageJoiner.h"
#include "shell/SessionState.h"

namespace vortana::cli {

class Reporter;
struct Invocation;

struct JobPlan {
    std::string command;  // for the run log
    std::vector<CmdKindValue> steps;
    SettingsControls settings;
    std::unique_ptr<SessionState> session = std::make_unique<SessionState>();
    std::optional<std::uint32_t> checksum;  // of the loaded image
    std::optional<std::uint32_t> crc32;     // of the loaded image
    JobRecord record;
    std::vector<Frame> headers;  // download header of each port, in port order
    std::vector<std::optional<std::int64_t>> serials;  // serial number of each port
    // Called with the read-out's pages; throws JobError when they cannot be kept.
    std::function<void(const std::vector<ReadOutPage>&)> savePages;
    std::optional<RunLog> log;  // --log, opened before any number is taken; the run's end writes it
    // Where the numbers come from, round by round; told of each programmer's end on its thread.
    std::unique_ptr<SerialSource> serialSource;
};

// Runs `plan` on every port of the invocation, each looked up first (cli/PortLookup.h: a usb:
// name that finds no port ends that port's job as a port failure), and reports its start,
// progress and each port's end through `reporter`; returns the outcomes in port order. The run's
// end is the caller's to report, once the records are written.
std::vector<PortOutcome> RunJob(const JobPlan& plan, const Invocation& invocation,
                                Reporter& reporter);

// The program's exit status for a run: the first failure in port order, or success.
ExitStatus RunStatus(const std::vector<PortOutcome>& outcomes);

}  // namespace vortana::cli
