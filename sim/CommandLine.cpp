#include "sim/CommandLine.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vortana::sim {
namespace {

constexpr unsigned kMaxBaud = 4000000;
constexpr double kMaxWorkScale = 1000;

struct OptionInfo {
    const char* name;
    const char* valueName;  // nullptr for a switch
    const char* help;
};

// name, value, help
constexpr OptionInfo kOptions[] = {
    {"--link", "PATH",
     "also make PATH a symbolic link to the line (made beside PATH and renamed over it); "
     "removed on exit"},
    {"--device", "PATH",
     "serve the serial device PATH (38400 8N1, raw) instead of a pseudo-terminal"},
    {"--baud", "N", "pace the line both ways at N baud, 8N1 (default 38400: 3840 bytes/s)"},
    {"--no-pace", nullptr, "send and take bytes at once, unpaced"},
    {"--work-scale", "F",
     "scale the erase, program and verify times (default 1: proportional to the flash size, a "
     "few seconds for 64 KiB; 0: none)"},
    {"--protect", nullptr, "start with a read-protected chip"},
    {"--fill", "FILE",
     "start with the chip holding the binary FILE from address 0000 (at most "
     "64 KiB; the rest erased)"},
    {"--fault", "NAME[=N]", "inject a fault (repeatable; each is used once, in order; see below)"},
    {"--trace", nullptr,
     "write every frame, block and burst received and sent to standard error, with a "
     "timestamp and what it is"},
    {"--help", nullptr, "show this text"},
};

const OptionInfo* FindOption(std::string_view name) {
    for (const OptionInfo& option : kOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

unsigned ParseBaud(const std::string& text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value == 0 ||
        value > kMaxBaud)
        throw UsageError("--baud takes a whole number from 1 to 4000000, not '" + text + "'");
    return value;
}

double ParseWorkScale(const std::string& text) {
    std::size_t used = 0;
    double value = -1;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(value) || value < 0 ||
        value > kMaxWorkScale)
        throw UsageError("--work-scale takes a number from 0 to 1000, not '" + text + "'");
    return value;
}

void Apply(ProgramOptions& options, std::string_view name, const std::string& value) {
    if (name == "--link") {
        options.link = value;
    } else if (name == "--device") {
        options.device = value;
    } else if (name == "--baud") {
        options.sim.baud = ParseBaud(value);
    } else if (name == "--no-pace") {
        options.sim.pace = false;
    } else if (name == "--work-scale") {
        options.sim.workScale = ParseWorkScale(value);
    } else if (name == "--protect") {
        options.sim.readProtected = true;
    } else if (name == "--fill") {
        options.fill = value;
    } else if (name == "--fault") {
        std::string error;
        const auto fault = ParseFault(value, error);
        if (!fault)
            throw UsageError("--fault: " + error);
        options.sim.faults.push_back(*fault);
    } else if (name == "--trace") {
        options.trace = true;
    } else if (name == "--help") {
        options.help = true;
    }
}

// "  name VALUE   help", the help wrapped at word boundaries into a column of its own.
std::string HelpEntry(const char* name, const char* joint, const char* valueName,
                      std::string_view help) {
    constexpr std::size_t kHelpColumn = 24;
    constexpr std::size_t kWidth = 79;
    std::string entry = std::string("  ") + name;
    if (valueName)
        entry += std::string(joint) + valueName;
    std::size_t lineStart = 0;
    if (entry.size() + 2 > kHelpColumn) {
        entry += '\n';
        lineStart = entry.size();
    }
    entry.resize(lineStart + kHelpColumn, ' ');
    while (!help.empty()) {
        const std::size_t room = kWidth - kHelpColumn;
        std::size_t cut = help.size() <= room ? help.size() : help.rfind(' ', room);
        if (cut == std::string_view::npos || cut == 0)
            cut = std::min(help.size(), room);
        entry += help.substr(0, cut);
        entry += '\n';
        help.remove_prefix(std::min(help.size(), cut + 1));
        if (!help.empty())
            entry.append(kHelpColumn, ' ');
    }
    return entry;
}

}  // namespace

ProgramOptions ParseCommandLine(std::span<const std::string> arguments) {
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionInfo* option = FindOption(name);
        if (!option)
            throw UsageError("unknown option '" + argument + "'");
        std::string value;
        if (!option->valueName) {
            if (equals != std::string::npos)
                throw UsageError(name + " takes no value");
        } else if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            throw UsageError(name + " needs " + option->valueName);
        }
        if (option->valueName && value.empty())
            throw UsageError(name + " needs " + option->valueName + ", not an empty text");
        Apply(options, name, value);
    }
    return options;
}

std::string HelpText() {
    std::string text =
        "Usage: vortana-sim [OPTION]...\n"
        "Plays the VORTANA programmer device on a pseudo-terminal (or a serial device) until\n"
        "interrupted. The first line on standard output is the path of the line to open.\n"
        "\nOptions:\n";
    for (const OptionInfo& option : kOptions)
        text += HelpEntry(option.name, " ", option.valueName, option.help);
    text += "\nFaults (--fault NAME, or NAME=N where shown):\n";
    for (const FaultInfo& fault : kFaults)
        text += HelpEntry(fault.name, "=", fault.valueName, fault.help);
    text +=
        "\nBad input:\n"
        "  Bytes before a start byte (0x68) are skipped. A frame with an unknown command code is\n"
        "  skipped without a reply, and the device resynchronises on the next 0x68 after its\n"
        "  start byte. A frame with a known code but the wrong data length, or without its end\n"
        "  byte (0x16), is answered with status 0x00 for that code, and the device likewise\n"
        "  resynchronises on the next 0x68. A frame left unfinished for 1 s is dropped. During a\n"
        "  download, a 0x68 where a block should begin ends the download without a reply and\n"
        "  starts a frame; a block left unfinished for 1 s ends it with 0x00; a block with a\n"
        "  wrong number, address byte or sum ends it with 0x00. All of it shows in --trace.\n"
        "\nThe chip: 64 KiB, erased (0xFF) at start. Erase also lifts the read protection.\n"
        "Programming can only clear bits, so programming without erasing may fail to verify.\n"
        "Erase+program+verify skips erasing or verifying when the settings switched it off.\n";
    return text;
}

Bytes LoadFillFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SimError("cannot read " + path + ": " + std::strerror(errno));
    Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw SimError("cannot read " + path);
    if (bytes.size() > kMemorySize)
        throw SimError(path + " holds " + std::to_string(bytes.size()) +
                       " bytes, more than the chip's 65536");
    return bytes;
}

}  // namespace vortana::sim
