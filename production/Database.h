// Database: what a front end may ask of the serial database, in every build. The database is a
// PostgreSQL server shared by the stations of a line: it hands out serial numbers from named
// counters and keeps a record of every programmer's job (docs/database.md). Builds without
// PostgreSQL's client library (the Windows build) keep these entry points, and each of them
// throws JobError(SerialSource) saying the database is not available in this build.
//
// A target is a connection URI or, empty, what the PG* environment variables say.
//
// Errors: JobError(SerialSource) when the database cannot be reached, refuses the login, lacks
// the tables or loses the connection; the message says which, and what to do. Qt-free.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "production/SerialSource.h"

namespace vortana {

// The version of the tables this program makes and uses (DatabaseSchema.h).
inline constexpr int kSchemaVersion = 1;

struct DatabaseTarget {
    std::string url;      // connection URI; empty: the PG* environment variables
    std::string counter;  // the counter the numbers come from
    std::string station;  // the station whose earlier records are looked at
    std::string spool;    // where records wait while the database is away; empty: the default
};

// The serial database as a job's serial source (SerialDatabase.h): connected, its tables checked,
// the records an earlier run left waiting sent.
std::unique_ptr<SerialSource> OpenSerialDatabase(const DatabaseTarget& target);

// `db init`: makes the tables or brings them up to this program's version; returns the version
// they had (0: none).
int InitSerialDatabase(const std::string& url);

// `db report`: per station and model, the records' outcomes and the serial numbers they took.
struct StationModelCounts {
    std::string station;
    std::string model;
    std::int64_t ok = 0;
    std::int64_t failed = 0;   // ended with any other outcome
    std::int64_t started = 0;  // never heard of again: the chip's outcome is unknown
    std::int64_t firstSerial = 0;
    std::int64_t lastSerial = 0;  // the last number taken, offline ranges counted whole
};
// The records from midnight of `since` (YYYY-MM-DD, the server's time zone) on; empty: all.
std::vector<StationModelCounts> ReportSerialDatabase(const std::string& url,
                                                     const std::string& since);

}  // namespace vortana
