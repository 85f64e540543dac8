// PortOutcome: how a job ended on one programmer, with what its record names beside the outcome:
// the serial number it took, the image's sums, the model, file, station, operator and version.
// The job runner fills one per programmer; the run log, the reports and the production counts
// read them. Plain data; Qt-free.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "production/ExitStatus.h"

namespace vortana {

// What every record of a job (a log line, a --json result) names beside the programmer's outcome.
struct JobRecord {
    std::string model;         // --model as given; empty without one
    std::string file;          // --file as given; empty for a job without an image
    std::string station;       // --station, or the host name
    std::string operatorName;  // --operator, or the login name
    std::string version;       // the program's
};

struct PortOutcome {
    std::string port;     // as --port gives it
    std::string foundAt;  // where a usb: name was found ("ttyUSB3"); empty otherwise
    ExitStatus status = ExitStatus::Success;
    std::string message;  // why it failed; empty on success
    std::optional<std::int64_t> serial;
    std::optional<std::uint32_t> checksum;
    std::optional<std::uint32_t> crc32;
    JobRecord record;
    std::chrono::milliseconds duration{0};
};

}  // namespace vortana
