// ShiftTally: the count a station keeps over a shift, round after round on the same ports: the
// boards that passed and failed, the serial numbers the rounds took, and the status the shift
// ends with.
//
// A board passed when its programmer's outcome is success. The numbers of a round are those its
// programmers took, `span` from each one's first (production/SerialRange.h); consecutive ones are
// joined into one range, so a shift whose counter no other station shares shows one range.
//
// The shift's status is the status of its first round that did not succeed (a round's status is
// its first failure in port order, or its record that could not be written), else success: a
// shift ends with 0 only when every board of every round passed and was recorded, and otherwise
// says how the first failure went. Qt-free; one thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "production/ExitStatus.h"
#include "production/PortOutcome.h"

namespace vortana {

struct SerialNumbers {
    std::int64_t first = 0;
    std::int64_t last = 0;
    bool operator==(const SerialNumbers&) const = default;
};

struct RoundTally {
    std::size_t round = 0;  // from 1
    std::size_t passed = 0;
    std::size_t failed = 0;
    std::vector<SerialNumbers> serials;  // empty when the job takes no numbers
    ExitStatus status = ExitStatus::Success;
};

class ShiftTally {
  public:
    // Counts a round: its programmers' outcomes, the numbers each took, and the round's status.
    RoundTally AddRound(std::span<const PortOutcome> outcomes, std::int64_t span,
                        ExitStatus status);

    std::size_t Rounds() const { return rounds_.size(); }
    std::size_t Passed() const;
    std::size_t Failed() const;
    std::size_t Boards() const { return Passed() + Failed(); }
    // Every number the shift took, in ranges of consecutive ones.
    std::vector<SerialNumbers> Serials() const;
    ExitStatus Status() const;

  private:
    std::vector<RoundTally> rounds_;
};

}  // namespace vortana
