// RecordSpool: the ends of programmers' jobs that the serial database could not take (the
// connection lost mid-round), kept in a local file until it can: one JSON object a line,
//   {"record":41,"counter":"VT8B-W16","serial":1001,"outcome":"ok","exit":0,
//    "duration_ms":8312,"message":""}
// naming the record by its row and, to be sure of it, by its counter and serial number.
//
// Processes sharing a spool take turns under a lock file beside it ("SPOOL.lock"); the spool is
// replaced atomically, so it never holds half a line. Its folder is made when missing. A line
// that cannot be read back is never dropped: it stays for a person to look at.
//
// Errors: Add throws JobError(FileRefused) naming the file; Drain passes on what `send` throws,
// after taking the ends it sent out of the spool. Qt-free; any thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "production/ExitStatus.h"

namespace vortana {

// How one programmer's job ended, for its record.
struct RecordEnd {
    std::int64_t record = 0;  // the record's row
    std::string counter;
    std::int64_t serial = 0;
    ExitStatus status = ExitStatus::Success;
    std::string message;
    std::chrono::milliseconds duration{0};
};

class RecordSpool {
  public:
    explicit RecordSpool(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    void Add(const RecordEnd& end);

    // Offers each end in the spool to `send`, in order; those it took (true) leave the spool.
    struct Drained {
        std::size_t sent = 0;
        std::size_t kept = 0;
    };
    Drained Drain(const std::function<bool(const RecordEnd&)>& send);

  private:
    std::string path_;
};

}  // namespace vortana
