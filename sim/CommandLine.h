// The command line of the vortana-sim program: its options, their checks and its help text.
// Errors: UsageError with a message that names the option and what it takes.
// Qt-free; pure functions, except LoadFillFile, which reads a file.
#pragma once

#include <span>
#include <stdexcept>
#include <string>

#include "sim/Simulator.h"

namespace vortana::sim {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ProgramOptions {
    SimConfig sim;       // all but the fill's contents and the trace sink
    std::string link;    // --link: a symbolic link to make to the line
    std::string device;  // --device: a serial device to serve instead of a pseudo-terminal
    std::string fill;    // --fill: a binary file for the chip's contents
    bool trace = false;  // --trace
    bool help = false;   // --help
};

// `arguments` without the program's name. Options may be written "--baud 9600" or
// "--baud=9600".
ProgramOptions ParseCommandLine(std::span<const std::string> arguments);

std::string HelpText();

// The file's bytes, at most 64 KiB. Throws SimError when it cannot be read or is larger.
Bytes LoadFillFile(const std::string& path);

}  // namespace vortana::sim
