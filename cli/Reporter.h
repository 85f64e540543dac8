// Reporter: where a job's progress and outcomes go, in the form the invocation asks for:
//   - on a terminal, one line per programmer redrawn in place: a bar driven by the step's real
//     progress, percent, elapsed time and, where known, the time left;
//   - on a pipe, plain lines without escape sequences: each step's tenths of progress, its
//     end, the outcome;
//   - with --json, one JSON object per line per event;
//   - with --quiet, failures only.
// Notices about the run as a whole (its serial source's records) go to the error stream (in JSON:
// a "note" event without a port), quiet or not.
// Outcomes of failed programmers go to the error stream (except in JSON). With more than one
// port, a summary table (port, serial number, image checksum and CRC-32, outcome, duration) ends
// the run, then the records that could not be written, if any (JSON: one "end" event carrying
// both).
//
// Threads: every member may be called from any port thread; calls are serialised inside.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "cli/DeviceSteps.h"
#include "cli/Job.h"

namespace vortana::cli {

class Reporter {
  public:
    virtual ~Reporter() = default;
    virtual void Begin(std::span<const std::string> ports) = 0;
    virtual void Progress(std::size_t port, const StepProgress& progress) = 0;
    // Something a step learned on the way ("download: the programmer reports length 1000").
    virtual void Note(std::size_t port, std::string_view text) = 0;
    // Something about the run as a whole (its records' keeping): shown even when quiet.
    virtual void Notice(std::string_view text) = 0;
    virtual void Ended(std::size_t port, const PortOutcome& outcome) = 0;
    // The run's end, called once after the records are written: its exit status and, when the
    // log could not take them, what was not recorded and why.
    virtual void Finish(std::span<const PortOutcome> outcomes, ExitStatus status,
                        std::string_view recordFailure) = 0;
};

std::unique_ptr<Reporter> MakeReporter(const Invocation& invocation);

// The summary table's text, one line per programmer after a heading.
std::string SummaryTable(std::span<const PortOutcome> outcomes);

}  // namespace vortana::cli
