#include "production/ShiftTally.h"

#include <algorithm>

namespace vortana {
namespace {

// Adds `numbers` to `ranges`, joined to the last range when they follow it.
void Append(std::vector<SerialNumbers>& ranges, SerialNumbers numbers) {
    if (!ranges.empty() && ranges.back().last + 1 == numbers.first)
        ranges.back().last = numbers.last;
    else
        ranges.push_back(numbers);
}

}  // namespace

RoundTally ShiftTally::AddRound(std::span<const PortOutcome> outcomes, std::int64_t span,
                                ExitStatus status) {
    RoundTally& round = rounds_.emplace_back();
    round.round = rounds_.size();
    round.status = status;
    for (const PortOutcome& outcome : outcomes) {
        ++(outcome.status == ExitStatus::Success ? round.passed : round.failed);
        if (outcome.serial)
            Append(round.serials, {*outcome.serial, *outcome.serial + span - 1});
    }
    return round;
}

std::size_t ShiftTally::Passed() const {
    std::size_t passed = 0;
    for (const RoundTally& round : rounds_)
        passed += round.passed;
    return passed;
}

std::size_t ShiftTally::Failed() const {
    std::size_t failed = 0;
    for (const RoundTally& round : rounds_)
        failed += round.failed;
    return failed;
}

std::vector<SerialNumbers> ShiftTally::Serials() const {
    std::vector<SerialNumbers> ranges;
    for (const RoundTally& round : rounds_)
        for (const SerialNumbers& numbers : round.serials)
            Append(ranges, numbers);
    return ranges;
}

ExitStatus ShiftTally::Status() const {
    const auto failed = std::find_if(rounds_.begin(), rounds_.end(), [](const RoundTally& round) {
        return round.status != ExitStatus::Success;
    });
    return failed == rounds_.end() ? ExitStatus::Success : failed->status;
}

}  // namespace vortana
