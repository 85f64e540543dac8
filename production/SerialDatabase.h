// SerialDatabase: the serial database as a job's serial source, for one run of a station.
//
// Opening connects, checks the tables (DatabaseSchema.h), takes a run number that its connection
// holds an advisory lock on while the run lives, sends what an earlier run left in the spool and
// counts this station's records whose run is gone while they are still 'started' (a station that
// died mid-round): both are told as notices.
//
// A round's numbers and its records are taken in one short transaction: the counter row moves on
// by the round's numbers (made on first use at the round's `first`) and one 'started' row per
// programmer is added; the counter row's lock makes stations take turns, so no two ever get the
// same number, and a number is never taken without its row. As each programmer ends, its row is
// updated with the outcome, exit status, duration and message. When the connection is lost mid-
// round, the ends go to the spool (RecordSpool.h) instead, and the round's end (or the next
// round's start) connects again and sends them; if the database is still away they wait for the
// next run, and the notices say so.
// A round whose transaction is cut by a lost connection is tried once more on a new connection.
//
// Errors: as SerialSource.h: DatabaseError (status SerialSource) when the database cannot be
// reached or used at the open or a round's start; FileRefused for numbers past 9999999999.
// Ended may be called from any thread; the rest from one thread between rounds.
#pragma once

#include <mutex>
#include <optional>

#include "production/Database.h"
#include "production/PgConnection.h"
#include "production/RecordSpool.h"

namespace vortana {

class SerialDatabase : public SerialSource {
  public:
    explicit SerialDatabase(const DatabaseTarget& target);

    std::int64_t TakeRound(const SerialRound& round) override;
    void Ended(std::size_t port, const PortOutcome& outcome) override;
    std::string EndRound() override;
    std::vector<std::string> TakeNotices() override;

  private:
    std::int64_t TakeRoundOnce(const SerialRound& round, std::int64_t size);
    // The values of programmer `port`'s 'started' row, for kAddStarted.
    std::vector<PgValue> StartedRow(const SerialRound& round, std::size_t port,
                                    std::int64_t serial) const;
    // Sends `end` to its row; false when the database has no such record.
    bool Send(const RecordEnd& end);
    // The connection, made again after it was lost and the spool sent; false when that failed.
    bool Reachable();
    void HoldRunLock();
    // Sends the spool; nothing when the database went away meanwhile.
    std::optional<RecordSpool::Drained> SendSpool();
    void NoteEarlierRuns(const std::string& station);

    std::mutex mutex_;
    PgConnection connection_;
    RecordSpool spool_;
    std::string counter_;
    std::int64_t run_ = 0;
    bool lost_ = false;
    std::vector<std::int64_t> records_;  // the round's rows, in port order
    std::size_t spooled_ = 0;            // ends of the round that went to the spool
    std::vector<std::string> unrecorded_;
    std::vector<std::string> notices_;
};

}  // namespace vortana
