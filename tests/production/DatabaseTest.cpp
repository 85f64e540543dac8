// The serial database as a serial source: numbers that never repeat across stations at once, a
// record per programmer that outlives its station, the spool while the server is away, the
// refusals that stop a station before it sends anything, and the tables' making.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "harness/ScratchDatabase.h"
#include "production/SerialDatabase.h"

namespace vortana::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

SerialRound Round(std::size_t programmers, const std::string& station, std::int64_t first = 1) {
    SerialRound round{
        .command = "write",
        .record = {.model = "VT8B-W16",
                   .file = "demo.s19",
                   .station = station,
                   .operatorName = "wang",
                   .version = "5.0"},
        .crc32 = 0x8A7D8A3D,
        .ports = {},
        .usbSerials = {"A10K3Z1Q"},  // the first programmer's alone is known
        .span = 1,
        .first = first,
    };
    for (std::size_t i = 0; i < programmers; ++i)
        round.ports.push_back("/dev/ttyUSB" + std::to_string(i));
    return round;
}

DatabaseTarget Target(const ScratchDatabase& database, const std::string& station,
                      const std::string& spool = "/nonexistent/spool") {
    return {.url = database.Url(), .counter = "VT8B-W16", .station = station, .spool = spool};
}

PortOutcome Outcome(std::int64_t serial, ExitStatus status = ExitStatus::Success) {
    PortOutcome outcome;
    outcome.status = status;
    outcome.message = status == ExitStatus::Success ? "" : "verify: differs at C123";
    outcome.serial = serial;
    outcome.duration = std::chrono::milliseconds(8312);
    return outcome;
}

std::int64_t Count(const ScratchDatabase& database, std::string_view where) {
    return database.Query("SELECT count(*) FROM records WHERE " + std::string(where)).Integer(0, 0);
}

int ExitCodeOf(pid_t pid) {
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SerialDatabase, TwoStationsAtOnceTakeDifferentContiguousNumbersWithARowEach) {
    const ScratchDatabase database;
    constexpr int kRounds = 40;
    constexpr std::size_t kProgrammers = 3;
    std::vector<pid_t> stations;
    for (const char* station : {"line-1", "line-2"}) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                SerialDatabase source(Target(database, station));
                for (int round = 0; round < kRounds; ++round)
                    source.TakeRound(Round(kProgrammers, station));
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        stations.push_back(pid);
    }
    for (const pid_t pid : stations)
        EXPECT_EQ(ExitCodeOf(pid), 0);

    const PgResult rows = database.Query("SELECT serial FROM records ORDER BY serial");
    ASSERT_EQ(rows.Rows(), 2 * kRounds * static_cast<int>(kProgrammers));
    for (int row = 0; row < rows.Rows(); ++row)
        ASSERT_EQ(rows.Integer(row, 0), row + 1);  // each number once, none left out
    // A round's rows share its transaction's time: each round's numbers run on without a gap.
    const PgResult rounds = database.Query(
        "SELECT DISTINCT max(serial) - min(serial) FROM records GROUP BY run_id, started_at");
    ASSERT_EQ(rounds.Rows(), 1);
    EXPECT_EQ(rounds.Integer(0, 0), static_cast<std::int64_t>(kProgrammers) - 1);
    EXPECT_EQ(Count(database, "programmer_usb_serial = 'A10K3Z1Q'"), 2 * kRounds);
}

TEST(SerialDatabase, AStationKilledMidRoundLeavesItsRowsStartedAndTheNextRunTellsOfThem) {
    const ScratchDatabase database;
    int taken[2];
    ASSERT_EQ(::pipe(taken), 0);
    const pid_t killed = ::fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        try {
            SerialDatabase source(Target(database, "line-9"));
            source.TakeRound(Round(2, "line-9"));
            (void)!::write(taken[1], "1", 1);
            ::pause();
        } catch (...) {
        }
        ::_exit(1);
    }
    char byte = 0;
    ASSERT_EQ(::read(taken[0], &byte, 1), 1);
    SerialDatabase alive(Target(database, "line-9"));  // its round is under way: not an earlier one
    alive.TakeRound(Round(1, "line-9"));
    ::kill(killed, SIGKILL);
    ::waitpid(killed, nullptr, 0);
    // Until the server sees the killed station's connection go, its run still holds its lock.
    const std::string runLocks =
        "SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND "
        "objsubid = 2 AND granted";
    for (int wait = 0; wait < 1000 && database.Query(runLocks).Integer(0, 0) > 1; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    EXPECT_EQ(Count(database, "outcome = 'started'"), 3);
    SerialDatabase next(Target(database, "line-9"));
    EXPECT_THAT(next.TakeNotices(),
                ElementsAre("2 records of an earlier run are still 'started' (serial numbers 1 to "
                            "2): how their chips ended was never recorded"));
    EXPECT_THAT(SerialDatabase(Target(database, "line-3")).TakeNotices(), ::testing::IsEmpty());
}

TEST(SerialDatabase, EndsLostWithTheServerWaitInTheSpoolAndAreSentWhenItIsBack) {
    const ScratchDatabase database;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vortana-spool-" + std::to_string(::getpid()));
    const std::string spool = (folder / "run.csv.spool").string();
    {
        SerialDatabase source(Target(database, "line-1", spool));
        EXPECT_EQ(source.TakeRound(Round(3, "line-1")), 1);
        source.Ended(0, Outcome(1));
        database.PauseServer();
        source.Ended(1, Outcome(2, ExitStatus::VerifyMismatch));
        source.Ended(2, Outcome(3));
        database.ResumeServer();
        EXPECT_EQ(source.EndRound(), "");  // back at the round's end: the spool sent
        EXPECT_THAT(
            source.TakeNotices(),
            ElementsAre(HasSubstr("the connection to the serial database was lost: "),
                        "the serial database is back: 2 records kept in " + spool + " sent to it"));

        EXPECT_EQ(source.TakeRound(Round(2, "line-1")), 4);
        database.PauseServer();
        source.Ended(0, Outcome(4));
        source.Ended(1, Outcome(5));
        EXPECT_EQ(source.EndRound(), "");
        EXPECT_THAT(source.TakeNotices().back(), HasSubstr("still away: 2 records wait in"));
        database.ResumeServer();
    }
    SerialDatabase next(Target(database, "line-1", spool));  // the next start sends them
    EXPECT_THAT(next.TakeNotices(), ElementsAre(HasSubstr("2 records an earlier run kept in")));
    EXPECT_FALSE(std::filesystem::exists(spool));
    EXPECT_EQ(Count(database, "outcome = 'ok' AND duration_s = 8.3 AND message IS NULL"), 4);
    EXPECT_EQ(Count(database,
                    "serial = 2 AND outcome = 'verify-mismatch' AND exit_status = 7 "
                    "AND message = 'verify: differs at C123'"),
              1);
    EXPECT_EQ(next.TakeRound(Round(1, "line-1")), 6);
    std::filesystem::remove_all(folder);
}

TEST(SerialDatabase, AStationThatCannotUseTheDatabaseIsToldWhyWithStatus9) {
    const ScratchDatabase bare(TestDatabaseServer(), ScratchDatabase::Tables::Missing);
    const std::pair<std::string, std::string> targets[] = {
        {"postgresql:///vortana?host=/nonexistent", "cannot connect to the serial database"},
        {bare.UrlAs("vortana_password", "wrong"), "password authentication failed"},
        {bare.Url(), "no tables yet: make them once with 'vortana-cli db init URL'"},
    };
    for (const auto& [url, reason] : targets) {
        try {
            SerialDatabase source({.url = url, .counter = "C", .station = "line-1", .spool = ""});
            ADD_FAILURE() << url;
        } catch (const JobError& error) {
            EXPECT_EQ(error.Status(), ExitStatus::SerialSource);
            EXPECT_THAT(error.what(), HasSubstr(reason));
        }
    }
}

TEST(SerialDatabase, NumbersStopAtTenDigitsAndARefusedRoundLeavesNoTrace) {
    const ScratchDatabase database;
    SerialDatabase source(Target(database, "line-1"));
    try {
        source.TakeRound(Round(2, "line-1", 9999999999));
        ADD_FAILURE();
    } catch (const JobError& error) {
        EXPECT_EQ(error.Status(), ExitStatus::FileRefused);
    }
    EXPECT_EQ(database.Query("SELECT count(*) FROM counters").Integer(0, 0), 0);
    EXPECT_EQ(source.TakeRound(Round(1, "line-1", 9999999999)), 9999999999);
    EXPECT_THROW(source.TakeRound(Round(1, "line-1")), JobError);
    EXPECT_EQ(Count(database, "true"), 1);
}

TEST(DatabaseSchema, InitMakesTheTablesOnceAndNamesTheirVersion) {
    const ScratchDatabase database(TestDatabaseServer(), ScratchDatabase::Tables::Missing);
    EXPECT_EQ(InitSerialDatabase(database.Url()), 0);
    EXPECT_EQ(InitSerialDatabase(database.Url()), kSchemaVersion);
    const PgResult versions = database.Query("SELECT version FROM schema_version");
    ASSERT_EQ(versions.Rows(), 1);
    EXPECT_EQ(versions.Integer(0, 0), kSchemaVersion);
}

}  // namespace
}  // namespace vortana::test
