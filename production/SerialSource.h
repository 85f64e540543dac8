// SerialSource: where a job's serial numbers come from, round by round: the counter file
// (SerialCounter.h) or the serial database (SerialDatabase.h), which also keeps a record of every
// programmer's job. A job opens its source once and asks it for the numbers of each round (a
// one-off write is one round; a loop takes new numbers every round):
//   TakeRound   before the round, on the main thread: the first of the round's numbers;
//   Ended       as each programmer of the round ends, from its own thread;
//   EndRound    once every programmer of the round has ended, on the main thread.
// What the user should hear of the source's records (records of an earlier run, records kept
// for later) gathers until TakeNotices, which the front end calls before and after each round.
//
// Errors: TakeRound throws JobError: SerialSource when the source cannot be reached or used,
// FileRefused when the numbers would pass 9999999999 (SerialRange.h) or a counter file cannot be
// kept; no number is taken then. Ended never throws; what could not be recorded is EndRound's
// answer. Qt-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "production/PortOutcome.h"

namespace vortana {

// What a round asks of the source beside the count of its numbers.
struct SerialRound {
    std::string command;  // "load", "write"
    JobRecord record;
    std::optional<std::uint32_t> crc32;   // of the image the round downloads
    std::vector<std::string> ports;       // one programmer each, in order
    std::vector<std::string> usbSerials;  // each one's USB serial number; empty where unknown
    std::int64_t span = 1;                // numbers each programmer takes (SerialRange.h)
    std::int64_t first = 0;               // where a counter starts that is not made yet
};

class SerialSource {
  public:
    virtual ~SerialSource() = default;

    // The first of the span × ports consecutive numbers taken for the round; programmer i's
    // are first + i × span on.
    virtual std::int64_t TakeRound(const SerialRound& round) = 0;

    // Programmer `port` (its index in the round) ended with `outcome`. Any thread. A source
    // that keeps no records ignores it.
    virtual void Ended(std::size_t /*port*/, const PortOutcome& /*outcome*/) {}

    // Empty when every record of the round is kept, else what was not recorded and why.
    virtual std::string EndRound() { return {}; }

    // The notices gathered since the last call, each a sentence for the user.
    virtual std::vector<std::string> TakeNotices() { return {}; }
};

}  // namespace vortana
