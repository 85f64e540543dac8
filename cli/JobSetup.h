// JobSetup: what the device commands share before and after their job runs: the model from the
// catalogue, the image from its file, the download headers with their serial numbers, and the
// run itself with its reporting and log.
//
// Everything before the run happens on the main thread and refuses bad input before any port
// is touched: JobError(FileRefused) for a catalogue, catalogue line or image file refused,
// UsageError for a missing or bad option. Qt-free.
#pragma once

#include <span>

#include "cli/Command.h"
#include "cli/Job.h"

namespace vortana::cli {

// clang-format off
inline constexpr OptionSpec kModelOption{"--model", "NAME", "the model, as the catalogue names it"};
inline constexpr OptionSpec kFileOption{"--file", "FILE", "the S-record file to download"};
inline constexpr OptionSpec kSerialOptions[] = {
    {"--serial",      "START", "offline mode: serial number of the first chip (0 to 9999999999)"},
    {"--increment",   "K",     "offline mode: serial number step from chip to chip (0 to 9)"},
    {"--serial-file", "FILE",  "counter file holding the next free serial number, shared by runs"},
};
// clang-format on

// Throws UsageError when no --port was given.
void RequirePorts(const Invocation& invocation);

// Stores the --model's catalogue line in the plan's session. Without --model, throws UsageError
// when `required`, else leaves the session without a model.
void ChooseModel(JobPlan& plan, const Invocation& invocation, bool required);

// Loads --file into the plan's session (model chosen first) and notes its checksum.
void LoadImageFile(JobPlan& plan, const Invocation& invocation);

// The download header of every port, each with its own serial number when --serial or
// --serial-file asks for them.
void PrepareDownloads(JobPlan& plan, const Invocation& invocation);

// Runs the plan on every port, reports, appends to --log; the run's exit status.
ExitStatus RunAndReport(const JobPlan& plan, const Invocation& invocation);

}  // namespace vortana::cli
