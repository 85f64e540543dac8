// JobSetup: what the device commands share before and after their job runs: the ports, the model
// from the catalogue, the image from its file, the settings a download sends first, the download
// headers with their serial numbers, the log, and the run itself with its reporting and records.
//
// Everything before the run happens on the main thread and refuses bad input before a serial
// number is taken or any port is touched: UsageError for a missing or bad option (the same port
// twice among them), JobError(FileRefused) for a catalogue, catalogue line or image file refused,
// a log that cannot be opened, or serial numbers that would pass the device's ten digits.
// Qt-free.
#pragma once

#include <cstdint>
#include <span>

#include "cli/Command.h"
#include "cli/Job.h"
#include "cli/Reporter.h"

namespace vortana::cli {

// clang-format off
inline constexpr OptionSpec kModelOption{"--model", "NAME", "the model, as the catalogue names it"};
inline constexpr OptionSpec kFileOption{"--file", "FILE", "the S-record file to download"};
inline constexpr OptionSpec kSerialOptions[] = {
    {"--serial",      "START", "serial number of the first chip (0 to 9999999999)"},
    {"--increment",   "K",     "offline mode: serial number step from chip to chip (0 to 9)"},
    {"--serial-file", "FILE",  "counter file holding the next free serial number, shared by runs"},
    {"--serial-db",   "URL",   "serial numbers and records from a PostgreSQL database ('-': PG* variables)"},
    {"--counter",     "NAME",  "with --serial-db: the counter the numbers come from (default: the model)"},
};
inline constexpr OptionSpec kSettingsOptions[] = {
    {"--mode",   "online|offline", "programming mode (default online)"},
    {"--supply", "5|3.3",          "target supply in volts (default 5)"},
    {"--count",  "N",              "offline mode: chips to burn, 0 to 9999 (default 0)"},
    {"--erase",  "yes|no",         "erase before programming (default yes)"},
    {"--verify", "yes|no",         "verify after programming (default yes)"},
};
// clang-format on

// What `write` runs after its settings: the download, then erase + program + verify in one go.
inline constexpr CmdKindValue kWriteSteps[] = {kCmdDownload, kCmdEpc};

// Throws UsageError when no --port was given, "usb:" without a serial number, or one port twice:
// by its name, or by the device another name leads to (comm/PortIdentity.h). A usb: name is
// looked up later, at the start of each run (cli/PortLookup.h).
void RequirePorts(const Invocation& invocation);

// The settings the options of kSettingsOptions give, the window's defaults for those not given.
SettingsControls ReadSettings(const Options& options);

// Puts the settings step first, with the settings read, when the job takes serial numbers (so
// the mode their ranges are counted in is the one the programmers have) or a settings option is
// given.
void PrepareSettings(JobPlan& plan, const Invocation& invocation);

// The serial numbers a download job asks for, read and checked (SerialRange.h) before any is
// taken; the settings prepared first.
struct SerialNumbering {
    bool numbered = false;   // --serial, --serial-file or --serial-db: every header gets a number
    std::int64_t first = 0;  // --serial: the first number, or the counter's while it is new
    std::int64_t increment = 0;
    std::int64_t span = 1;  // numbers each programmer takes
    std::int64_t size = 0;  // numbers the whole job takes
};
SerialNumbering PlanSerialNumbers(const JobPlan& plan, const Invocation& invocation);

// Opens --log, when given and not open yet: before the job takes a number or sends a byte.
void OpenRunLog(JobPlan& plan, const Invocation& invocation);

// The serial database's connection URI as --serial-db and db take it: "-" and empty leave it to
// the PG* environment variables.
std::string DatabaseUrl(const std::string& value);

// Opens the serial source the options name (--serial-file, --serial-db), when there is one and
// it is not open yet: once for all the rounds of a job. Throws JobError(SerialSource) when the
// database cannot be used.
void OpenSerialSource(JobPlan& plan, const Invocation& invocation);

// What a download job prepares before it takes a number: the model chosen (required), --file
// loaded for it, the settings prepared.
void PrepareDownload(JobPlan& plan, const Invocation& invocation);

// Stores the --model's catalogue line in the plan's session. Without --model, throws UsageError
// when `required`, else leaves the session without a model.
void ChooseModel(JobPlan& plan, const Invocation& invocation, bool required);

// Loads --file into the plan's session (model chosen first) and notes its checksum and CRC-32.
void LoadImageFile(JobPlan& plan, const Invocation& invocation);
void LoadImageFile(JobPlan& plan, const std::string& path);

// Opens --log, then takes the round's numbers (from the serial source when there is one, opened
// first: the --serial-file counter or the --serial-db database) and makes the download header of
// every port, programmer i's starting at first + i × span. Each call makes the headers anew with
// new numbers: once per run, so once per round of a shift.
void PrepareDownloads(JobPlan& plan, const Invocation& invocation,
                      const SerialNumbering& numbering);

// How a run ended: each programmer's outcome in port order, the run's exit status (the first
// programmer's failure in port order, else FileRefused when a record could not be written, else
// success) and, when the log or the serial source could not take the records, what was not
// recorded and why.
struct RunResult {
    std::vector<PortOutcome> outcomes;
    ExitStatus status = ExitStatus::Success;
    std::string recordFailure;
};

// Runs the plan on every port, reported through `reporter` (the log opened first, the records'
// fields read from the options, the system's names and the program's version), appends the
// records to --log, which it then closes, and ends the serial source's round; the source's
// notices are told through `reporter` before and after the run. The run's end is the caller's
// to report.
RunResult RunAndRecord(JobPlan& plan, const Invocation& invocation, Reporter& reporter);

// RunAndRecord with a reporter of the invocation's kind, which then reports the run's end;
// returns the run's exit status.
ExitStatus RunAndReport(JobPlan& plan, const Invocation& invocation);

// A download job's run once it is prepared and its numbers planned: the numbers taken, the run
// reported; returns its exit status.
ExitStatus RunDownload(JobPlan& plan, const Invocation& invocation,
                       const SerialNumbering& numbering);

}  // namespace vortana::cli
