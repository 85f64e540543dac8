#include "production/SerialDatabase.h"

#include <cstdlib>
#include <utility>

#include "production/DatabaseSchema.h"
#include "production/RecordText.h"
#include "production/SerialRange.h"

namespace vortana {
namespace {

// The first key of the runs' advisory locks ("VORT"), the run's number the second.
constexpr const char* kRunLockSpace = "1448038996";

constexpr std::string_view kNewRun =
    "SELECT id, pg_advisory_lock($1::integer, id)"
    " FROM (SELECT nextval('run_ids')::integer AS id) AS run";
constexpr std::string_view kRunLock = "SELECT pg_advisory_lock($1::integer, $2::integer)";

// $1 counter, $2 its first number when new, $3 the round's count: the first of the round's.
constexpr std::string_view kTakeNumbers =
    "INSERT INTO counters (name, next) VALUES ($1, $2::bigint + $3::bigint)"
    " ON CONFLICT (name) DO UPDATE SET next = counters.next + $3::bigint"
    " RETURNING next - $3::bigint";

constexpr std::string_view kAddStarted =
    "INSERT INTO records (run_id, station, operator, command, port, model, file, crc32, counter,"
    " serial, serials, version, programmer_usb_serial)"
    " VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13) RETURNING id";

// Ends a 'started' record; counts the record whether it was started or had ended already (an end
// sent twice, the second time from the spool).
constexpr std::string_view kEnd =
    "WITH target AS (SELECT id, outcome FROM records WHERE id = $1 AND counter = $2 AND serial = "
    "$3),"
    " ended AS (UPDATE records SET outcome = $4, exit_status = $5, duration_s = $6, message = $7"
    " WHERE id = (SELECT id FROM target WHERE outcome = 'started') RETURNING id)"
    " SELECT count(*) FROM target";

// This station's 'started' records whose run no longer holds its lock.
constexpr std::string_view kEarlierRuns =
    "SELECT count(*), min(serial), max(serial + serials - 1) FROM records r"
    " WHERE r.station = $1 AND r.outcome = 'started' AND NOT EXISTS ("
    "  SELECT 1 FROM pg_locks l WHERE l.locktype = 'advisory' AND l.objsubid = 2"
    "   AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database())"
    "   AND l.classid = $2::oid AND l.objid = r.run_id::oid)";

std::string DefaultSpool() {
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::string folder = state != nullptr && *state != '\0' ? state
                               : home != nullptr ? std::string(home) + "/.local/state"
                                                 : ".";
    return folder + "/vortana/serial-db.spool";
}

std::string Records(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " record" : " records");
}

PgValue TextOrNull(const std::string& text) {
    return text.empty() ? std::nullopt : PgValue(text);
}

}  // namespace

SerialDatabase::SerialDatabase(const DatabaseTarget& target)
    : connection_(target.url),
      spool_(target.spool.empty() ? DefaultSpool() : target.spool),
      counter_(target.counter) {
    RequireSchema(connection_);
    run_ = connection_.Run(kNewRun, {kRunLockSpace}).Integer(0, 0);
    if (const auto drained = SendSpool(); drained && drained->sent > 0)
        notices_.push_back(Records(drained->sent) + " an earlier run kept in " + spool_.Path() +
                           " sent to the serial database");
    NoteEarlierRuns(target.station);
}

std::int64_t SerialDatabase::TakeRound(const SerialRound& round) {
    const std::int64_t size = SerialRangeSize(round.span, round.ports.size());
    std::lock_guard lock(mutex_);
    if (!Reachable())
        throw DatabaseError("the serial database cannot be reached again: nothing was sent", "",
                            true);
    try {
        return TakeRoundOnce(round, size);
    } catch (const DatabaseError& error) {
        lost_ = error.Lost();
        if (!lost_ || !Reachable())
            throw;
        return TakeRoundOnce(round, size);
    }
}

std::int64_t SerialDatabase::TakeRoundOnce(const SerialRound& round, std::int64_t size) {
    PgTransaction transaction(connection_);
    const std::int64_t first =
        connection_.Run(kTakeNumbers, {counter_, std::to_string(round.first), std::to_string(size)})
            .Integer(0, 0);
    RequireSerialRange(first, size);
    records_.clear();
    for (std::size_t i = 0; i < round.ports.size(); ++i) {
        const std::int64_t serial = first + static_cast<std::int64_t>(i) * round.span;
        records_.push_back(
            connection_.Run(kAddStarted, StartedRow(round, i, serial)).Integer(0, 0));
    }
    transaction.Commit();
    spooled_ = 0;
    return first;
}

std::vector<PgValue> SerialDatabase::StartedRow(const SerialRound& round, std::size_t port,
                                                std::int64_t serial) const {
    const JobRecord& record = round.record;
    return {std::to_string(run_),
            record.station,
            record.operatorName,
            round.command,
            round.ports.at(port),
            record.model,
            record.file,
            round.crc32 ? PgValue(Crc32Text(round.crc32)) : std::nullopt,
            counter_,
            std::to_string(serial),
            std::to_string(round.span),
            record.version,
            port < round.usbSerials.size() ? TextOrNull(round.usbSerials[port]) : std::nullopt};
}

bool SerialDatabase::Send(const RecordEnd& end) {
    return connection_
               .Run(kEnd,
                    {std::to_string(end.record), end.counter, std::to_string(end.serial),
                     std::string(NameOf(end.status)), std::to_string(static_cast<int>(end.status)),
                     SecondsValue(end.duration), TextOrNull(end.message)})
               .Integer(0, 0) != 0;
}

void SerialDatabase::Ended(std::size_t port, const PortOutcome& outcome) {
    const RecordEnd end{
        .record = records_.at(port),
        .counter = counter_,
        .serial = outcome.serial.value_or(0),
        .status = outcome.status,
        .message = outcome.message,
        .duration = outcome.duration,
    };
    std::lock_guard lock(mutex_);
    if (!lost_) {
        try {
            Send(end);
            return;
        } catch (const DatabaseError& error) {
            lost_ = true;  // whatever failed, the ends wait in the spool until the round's end
            notices_.push_back(std::string(error.what()) + "; mid-round, the programmers' " +
                               "records go to " + spool_.Path() + " until it is back");
        }
    }
    try {
        spool_.Add(end);
        ++spooled_;
    } catch (const JobError& error) {
        unrecorded_.push_back(outcome.port + " (serial " + std::to_string(end.serial) + ", " +
                              std::string(NameOf(end.status)) + "): " + error.what());
    }
}

std::string SerialDatabase::EndRound() {
    std::lock_guard lock(mutex_);
    if (spooled_ > 0 && !Reachable())
        notices_.push_back("the serial database is still away: " + Records(spooled_) + " wait in " +
                           spool_.Path() + "; the next run sends them");
    spooled_ = 0;
    std::string unrecorded;
    for (const std::string& port : unrecorded_)
        unrecorded += (unrecorded.empty() ? "" : ", ") + port;
    unrecorded_.clear();
    return unrecorded.empty() ? unrecorded : "records not kept: " + unrecorded;
}

std::vector<std::string> SerialDatabase::TakeNotices() {
    std::lock_guard lock(mutex_);
    return std::exchange(notices_, {});
}

bool SerialDatabase::Reachable() {
    if (!lost_)
        return true;
    try {
        lost_ = !connection_.Reconnect();
        if (!lost_)
            HoldRunLock();
    } catch (const DatabaseError&) {
        lost_ = true;
    }
    if (const auto drained = lost_ ? std::nullopt : SendSpool(); drained && drained->sent > 0)
        notices_.push_back("the serial database is back: " + Records(drained->sent) + " kept in " +
                           spool_.Path() + " sent to it");
    return !lost_;
}

void SerialDatabase::HoldRunLock() {
    connection_.Run(kRunLock, {kRunLockSpace, std::to_string(run_)});
}

std::optional<RecordSpool::Drained> SerialDatabase::SendSpool() {
    try {
        const RecordSpool::Drained drained =
            spool_.Drain([this](const RecordEnd& end) { return Send(end); });
        if (drained.kept > 0)
            notices_.push_back(Records(drained.kept) + " in " + spool_.Path() +
                               " match no record of this serial database: they stay there");
        return drained;
    } catch (const DatabaseError& error) {
        lost_ = lost_ || error.Lost();
        return std::nullopt;
    } catch (const JobError& error) {  // the spool itself cannot be read or rewritten
        notices_.push_back(std::string(error.what()) + ": the records in " + spool_.Path() +
                           " wait there");
        return std::nullopt;
    }
}

void SerialDatabase::NoteEarlierRuns(const std::string& station) {
    const PgResult result = connection_.Run(kEarlierRuns, {station, kRunLockSpace});
    const std::int64_t count = result.Integer(0, 0);
    if (count == 0)
        return;
    notices_.push_back(Records(static_cast<std::size_t>(count)) + " of an earlier run " +
                       (count == 1 ? "is" : "are") + " still 'started' (serial numbers " +
                       result.Text(0, 1) + " to " + result.Text(0, 2) +
                       "): how their chips ended was never recorded");
}

std::unique_ptr<SerialSource> OpenSerialDatabase(const DatabaseTarget& target) {
    return std::make_unique<SerialDatabase>(target);
}

}  // namespace vortana
