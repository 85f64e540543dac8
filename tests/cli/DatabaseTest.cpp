// vortana-cli with the serial database: a station that cannot use it sends nothing, and a line
// that does keeps a record of every programmer, which db report counts.
#include <sstream>

#include "harness/SRecordFiles.h"
#include "harness/ScratchDatabase.h"
#include "production/SerialDatabase.h"
#include "tests/cli/CliFixture.h"

namespace vortana::cli::test {
namespace {

using ::testing::HasSubstr;
using vortana::test::ScratchDatabase;

class CliDatabaseTest : public CliFixture {
  protected:
    CliDatabaseTest() {
        WriteCatalogue({CatalogueLine("VT8A-C16", "C000", "FFFF", "16K", "0x00")});
        WriteImage("image.s19", vortana::test::RandomBytes(16384, 3), 0xC000);
    }

    // write on every simulator started, with `more` options.
    std::vector<std::string> Write(const std::vector<std::string>& more) const {
        std::vector<std::string> arguments = OnTheImage({"write"}, EveryPort());
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    }

    void StartSims(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            StartSim();
    }
};

TEST_F(CliDatabaseTest, NothingIsSentWhenTheSerialDatabaseCannotBeUsed) {
    StartSims(1);
    const CliResult unreachable =
        Run(Write({"--serial-db", "postgresql:///vortana?host=" + File("no-server")}));
    EXPECT_EQ(unreachable.status, 9);
    EXPECT_THAT(unreachable.err, HasSubstr("cannot connect to the serial database"));
    const CliResult both = Run(Write({"--serial-db", "-", "--serial-file", File("counter")}));
    EXPECT_EQ(both.status, 2);
    EXPECT_THAT(both.err, HasSubstr("--serial-file and --serial-db"));
    EXPECT_EQ(Run(Write({"--serial", "1", "--counter", "VT8A"})).status, 2);
    EXPECT_TRUE(Sim(0).State().frames.empty());
}

TEST_F(CliDatabaseTest, WriteRecordsEveryProgrammerAndDbReportCountsThem) {
    const ScratchDatabase database(vortana::test::TestDatabaseServer(),
                                   ScratchDatabase::Tables::Missing);
    const CliResult init = Run({"db", "init", database.Url()});
    EXPECT_EQ(init.status, 0);
    EXPECT_EQ(init.out, "serial database: tables made (version 1)\n");
    StartSims(2);
    Sim(1).InjectFault({sim::FaultKind::WrongStatus});
    {  // a station that went away mid-round, leaving serial numbers 1 and 2 'started'
        SerialDatabase gone(
            {.url = database.Url(), .counter = "VT8A-C16", .station = "line-2", .spool = ""});
        SerialRound round;
        round.record.model = "VT8A-C16";
        round.record.station = "line-2";
        round.ports = {"ttyUSB0", "ttyUSB1"};
        round.first = 1;
        gone.TakeRound(round);
    }
    const std::vector<std::string> write =
        Write({"--serial-db", database.Url(), "--station", "line-2", "--log", File("run.csv")});
    const CliResult first = Run(write);
    EXPECT_EQ(first.status, 5);
    EXPECT_THAT(first.err, HasSubstr("vortana-cli: 2 records of an earlier run are still "
                                     "'started' (serial numbers 1 to 2)"));
    const CliResult second = Run(write);
    EXPECT_EQ(second.status, 0) << second.err;
    // The first run's records all ended: the same two are told again, until someone sees to them.
    EXPECT_THAT(second.err, HasSubstr("2 records of an earlier run"));
    EXPECT_EQ(SerialOf(Sim(0).State()), 5);

    const CliResult report = Run({"db", "report", database.Url(), "--json"});
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.out,
              "{\"station\":\"line-2\",\"model\":\"VT8A-C16\",\"ok\":3,\"failed\":1,\"started\":2,"
              "\"first_serial\":1,\"last_serial\":6}\n");
    const CliResult table = Run({"db", "report", database.Url(), "--since", "2999-01-01"});
    EXPECT_EQ(table.out, "station  model  ok  failed  started  first serial  last serial\n");
}

TEST_F(CliDatabaseTest, EachRoundOfASavedJobsShiftTakesItsNumbersAndRecordsFromTheDatabase) {
    const ScratchDatabase database;
    StartSims(2);
    std::vector<std::string> save =
        Write({"--serial-db", database.Url(), "--counter", "line-2", "--loop"});
    save.front() = File("job.ini");
    save.insert(save.begin(), {"job", "save"});
    ASSERT_EQ(Run(save).status, 0);
    std::istringstream enter("\n");  // the next round, then the end of the input
    const CliResult shift = Run({"run", File("job.ini")}, false, &enter);
    EXPECT_EQ(shift.status, 0) << shift.err;
    const PgResult rows = database.Query(
        "SELECT count(*), min(serial), max(serial) FROM records WHERE counter = 'line-2' AND "
        "outcome = 'ok' AND model = 'VT8A-C16'");
    EXPECT_EQ(rows.Integer(0, 0), 4);
    EXPECT_EQ(rows.Integer(0, 1), 1);
    EXPECT_EQ(rows.Integer(0, 2), 4);
}

}  // namespace
}  // namespace vortana::cli::test
