#include "production/DatabaseSchema.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "production/Database.h"
#include "production/PgConnection.h"

namespace vortana {
namespace {

constexpr std::string_view kUndefinedTable = "42P01";
// Held by `db init` for its transaction, so that two at once do not both make the tables.
constexpr std::string_view kInitLock = "SELECT pg_advisory_xact_lock(1448038996, 0)";

// Step N brings the tables from version N - 1 to N.
constexpr std::string_view kVersion1[] = {
    "CREATE TABLE counters ("
    " name text PRIMARY KEY,"
    " next bigint NOT NULL CHECK (next >= 0))",
    // Each run's number, which its connection holds an advisory lock on while it lives.
    "CREATE SEQUENCE run_ids AS integer CYCLE",
    "CREATE TABLE records ("
    " id bigserial PRIMARY KEY,"
    " run_id integer NOT NULL,"
    " started_at timestamptz NOT NULL DEFAULT now(),"
    " station text NOT NULL,"
    " operator text NOT NULL,"
    " command text NOT NULL,"
    " port text NOT NULL,"
    " programmer_usb_serial text,"
    " model text NOT NULL,"
    " file text NOT NULL,"
    " crc32 text,"
    " counter text NOT NULL,"
    " serial bigint NOT NULL,"
    " serials bigint NOT NULL DEFAULT 1,"
    " version text NOT NULL,"
    " outcome text NOT NULL DEFAULT 'started',"
    " exit_status integer,"
    " duration_s numeric(10, 1),"
    " message text,"
    " UNIQUE (counter, serial))",
    "CREATE INDEX records_by_time ON records (started_at)",
    "CREATE INDEX records_by_station ON records (station, outcome)",
};
constexpr std::array<std::span<const std::string_view>, kSchemaVersion> kSteps{kVersion1};

// The tables' version; 0 when schema_version is empty. Throws DatabaseError when it is missing.
int VersionOf(PgConnection& connection) {
    const PgResult result = connection.Run("SELECT max(version) FROM schema_version");
    return result.IsNull(0, 0) ? 0 : static_cast<int>(result.Integer(0, 0));
}

[[noreturn]] void RefuseVersion(int version) {
    const std::string found = "the serial database's tables are version " +
                              std::to_string(version) + ", this program's " +
                              std::to_string(kSchemaVersion);
    throw DatabaseError(version > kSchemaVersion
                            ? found + ": use a vortana-cli as new as the database"
                            : found + ": bring them up to date with 'vortana-cli db init URL'",
                        "", false);
}

}  // namespace

int CreateSchema(PgConnection& connection) {
    PgTransaction transaction(connection);
    connection.Run(kInitLock);
    connection.Run("CREATE TABLE IF NOT EXISTS schema_version (version integer NOT NULL)");
    const int found = VersionOf(connection);
    if (found > kSchemaVersion)
        RefuseVersion(found);
    for (int step = found; step < kSchemaVersion; ++step)
        for (const std::string_view statement : kSteps[static_cast<std::size_t>(step)])
            connection.Run(statement);
    connection.Run("DELETE FROM schema_version");
    connection.Run("INSERT INTO schema_version (version) VALUES ($1)",
                   {std::to_string(kSchemaVersion)});
    transaction.Commit();
    return found;
}

void RequireSchema(PgConnection& connection) {
    int version = 0;
    try {
        version = VersionOf(connection);
    } catch (const DatabaseError& error) {
        if (error.SqlState() != kUndefinedTable)
            throw;
    }
    if (version == 0)
        throw DatabaseError(
            "the serial database has no tables yet: make them once with 'vortana-cli db init URL'",
            std::string(kUndefinedTable), false);
    if (version != kSchemaVersion)
        RefuseVersion(version);
}

int InitSerialDatabase(const std::string& url) {
    PgConnection connection(url);
    return CreateSchema(connection);
}

}  // namespace vortana
