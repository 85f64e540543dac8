// SerialRange: how many serial numbers a download job takes, and whether they fit the device.
//
// Each programmer gets a range of its own, consecutive from the job's first number; programmer
// i's download header carries first + i × span. The span follows the mode the job sends:
//   - online, one number: the programmer writes the header's number into the one chip;
//   - offline, count × increment: the programmer writes the start number into the first of its
//     `count` chips and steps on by the increment from chip to chip; with increment 0 every chip
//     gets the same number, so one.
// The device holds ten decimal digits: a range may not pass 9999999999. The arithmetic never
// overflows, whatever the counter file holds.
//
// Errors: JobError(Usage) for offline count 0 with a non-zero increment (no number of chips, so no
// range can be reserved); JobError(FileRefused) for a range that would pass
// the ten digits. Qt-free; pure.
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/Frames.h"

namespace vortana {

// The numbers one programmer takes under `settings` (the mode and burn count it is sent).
std::int64_t SerialSpan(const SettingsControls& settings, std::int64_t increment);

// The numbers `programmers` take at `span` each; refused when they alone pass the ten digits.
std::int64_t SerialRangeSize(std::int64_t span, std::size_t programmers);

// Refuses `size` numbers from `first` (0 to 9999999999) when the last would pass 9999999999.
void RequireSerialRange(std::int64_t first, std::int64_t size);

}  // namespace vortana
