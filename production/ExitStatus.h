// The command-line program's exit statuses, one per way a job can end, and their names as
// --json and the run log give them. The table is documented in docs/cli.md; its numbers never
// change meaning. Qt-free; constant data.
#pragma once

#include <array>
#include <string_view>

namespace vortana {

enum class ExitStatus : int {
    Success = 0,
    Usage = 2,           // a command or option the program does not know, or a bad value
    FileRefused = 3,     // an image file, catalogue or catalogue line refused; output unwritable
    PortFailure = 4,     // the port cannot be opened, or the line went away mid-job
    DeviceFailure = 5,   // the device reported failure (or an answer it should not give)
    TimedOut = 6,        // no answer within --timeout
    VerifyMismatch = 7,  // verify found a byte that differs: address, written, read
    ReadProtected = 8,   // the chip is read-protected
    SerialSource = 9,    // the serial database cannot be reached or used: nothing was sent
    Interrupted = 128,   // a signal stopped the run: the program exits with 128 + its number
};

// The status of a run that signal `signal` stopped: 128 + its number, named "interrupted".
constexpr ExitStatus InterruptedBy(int signal) {
    return static_cast<ExitStatus>(static_cast<int>(ExitStatus::Interrupted) + signal);
}

struct ExitStatusInfo {
    ExitStatus status;
    std::string_view name;     // for --json and the run log
    std::string_view meaning;  // for --help
};

// clang-format off
inline constexpr std::array<ExitStatusInfo, 10> kExitStatuses{{
    // status                      name                meaning
    {ExitStatus::Success,          "ok",               "success"},
    {ExitStatus::Usage,            "usage",            "bad command line"},
    {ExitStatus::FileRefused,      "file-refused",     "file or catalogue line refused, or output not written"},
    {ExitStatus::PortFailure,      "port-failure",     "port cannot be opened, or lost mid-job"},
    {ExitStatus::DeviceFailure,    "device-failure",   "the device reported failure"},
    {ExitStatus::TimedOut,         "timed-out",        "no answer within --timeout"},
    {ExitStatus::VerifyMismatch,   "verify-mismatch",  "verify found a differing byte"},
    {ExitStatus::ReadProtected,    "read-protected",   "the chip is read-protected"},
    {ExitStatus::SerialSource,     "serial-source",    "serial source unavailable (the serial database)"},
    {ExitStatus::Interrupted,      "interrupted",      "128 + N: stopped by signal N (130: Ctrl-C)"},
}};
// clang-format on

// The status's name; every 128 + N is "interrupted".
std::string_view NameOf(ExitStatus status);

}  // namespace vortana
