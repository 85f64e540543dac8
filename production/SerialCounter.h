// SerialCounter: hands out serial numbers that never repeat, across programmers and across runs.
//
// The counter file holds the next free number as decimal digits and a line end. Reserve takes
// `count` numbers from it at once and writes the number after them back, so a line stopped and
// started again goes on where it was. Two runs at once are kept apart by an advisory lock on a
// lock file beside the counter's resolved path ("FILE.lock", FILE with every link followed, see
// shell/FileOps.h ResolvedPath), held from the read to the write, so every name of one counter
// (a symbolic link, a path through another folder) shares one lock; the file itself is replaced
// atomically, so it is never seen half-written. A missing or empty counter file starts at
// `first`.
//
// Errors: JobError(FileRefused) when the file cannot be resolved, read, locked or written, holds
// no number or one past 9999999999, or the numbers would pass 9999999999 (SerialRange.h); the
// file is then left as it was. Qt-free; any thread.
//
// SerialCounterFile is the counter file as a job's serial source: it takes each round's numbers
// from the file and keeps no records.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "production/SerialSource.h"

namespace vortana {

// The first of `count` consecutive numbers reserved; `first` from 0 to 9999999999.
std::int64_t ReserveSerialNumbers(const std::string& counterFile, std::int64_t count,
                                  std::int64_t first);

class SerialCounterFile : public SerialSource {
  public:
    explicit SerialCounterFile(std::string counterFile) : counterFile_(std::move(counterFile)) {}
    std::int64_t TakeRound(const SerialRound& round) override;

  private:
    std::string counterFile_;
};

}  // namespace vortana
