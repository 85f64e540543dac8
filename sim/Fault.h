// Faults the device can be told to commit, so that the front end's handling of a misbehaving
// device can be tried. Each fault is used once: an answer takes the first waiting fault that
// applies to it (in the order they were armed), and that fault is then gone.
//
// Qt-free; FaultQueue is one thread at a time.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sim/Answer.h"

namespace vortana::sim {

enum class FaultKind {
    Silence,
    Late,
    Garbage,
    Short,
    WrongStatus,
    SplitPage,
    DoublePage,
    BlockOutOfRange,
    HangUp,
    DropLine,
};

struct FaultInfo {
    FaultKind kind;
    const char* name;       // as given to --fault
    const char* valueName;  // the optional "=N" it takes, or nullptr
    unsigned maxValue;      // the largest N it takes
    const char* help;
};

// name, value, largest value, help
inline constexpr std::array<FaultInfo, 10> kFaults{{
    {FaultKind::Silence, "silence", nullptr, 0, "the next answer is not sent at all"},
    {FaultKind::Late, "late", "MS", 600000,
     "the next answer comes MS milliseconds late (default 3000)"},
    {FaultKind::Garbage, "garbage", nullptr, 0,
     "the next answer's first burst is replaced by as many bytes of noise (no start byte, no "
     "status code among them)"},
    {FaultKind::Short, "short", nullptr, 0, "the next answer's first burst is cut to 3 bytes"},
    {FaultKind::WrongStatus, "wrong-status", nullptr, 0,
     "the next reply carries status 0x5A, which no command expects"},
    {FaultKind::SplitPage, "split-page", nullptr, 0,
     "the next read-out sends its first page as two bursts"},
    {FaultKind::DoublePage, "double-page", nullptr, 0,
     "the next read-out of two or more pages sends its first two pages as one burst"},
    {FaultKind::BlockOutOfRange, "block-out-of-range", "N", 255,
     "the next block request asks for block N (default: the first number past the image's "
     "blocks)"},
    {FaultKind::HangUp, "hang-up", nullptr, 0,
     "the next download of two or more blocks hangs up the line halfway, instead of asking "
     "for its middle block, and the simulator stops serving"},
    {FaultKind::DropLine, "drop-line", nullptr, 0,
     "the next answer, to whatever command, is not sent: the line is hung up instead and the "
     "simulator stops serving"},
}};

inline constexpr std::uint8_t kWrongStatus = 0x5A;
inline constexpr std::chrono::milliseconds kDefaultLateness{3000};

struct Fault {
    Fault(FaultKind kind, std::optional<unsigned> value = std::nullopt)
        : kind(kind), value(value) {}

    FaultKind kind;
    std::optional<unsigned> value;  // the "=N" part
};

const FaultInfo& InfoOf(FaultKind kind);

// `length` bytes of noise: never a start or end byte, never a status the front end acts on. The
// same sequence every time, so noise of n bytes begins with the noise of fewer.
Bytes Noise(std::size_t length);

// "late=500", "silence", ...; nothing when the text names no fault or its value is bad, with
// the reason in `error`.
std::optional<Fault> ParseFault(std::string_view text, std::string& error);

// "late=500" or "silence".
std::string FaultText(const Fault& fault);

bool Applies(const Fault& fault, const Answer& answer);
void Apply(const Fault& fault, Answer& answer);

class FaultQueue {
  public:
    void Arm(const Fault& fault) { waiting_.push_back(fault); }
    // Applies the first waiting fault that applies to `answer` and returns it.
    std::optional<Fault> ApplyTo(Answer& answer);
    std::size_t Waiting() const { return waiting_.size(); }

  private:
    std::deque<Fault> waiting_;
};

}  // namespace vortana::sim
