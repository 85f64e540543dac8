#include "production/JobFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "production/JobError.h"
#include "shell/FileAccess.h"

namespace vortana {
namespace {

namespace fs = std::filesystem;
using ::testing::StartsWith;

JobFile EveryEntry() {
    JobFile job;
    job.model = "VT8B-W16";
    job.file = "fw/demo.s19";
    job.crc32 = 0x0A7D8A3D;
    job.mode = "offline";
    job.supply = "3.3";
    job.count = "20";
    job.erase = "no";
    job.verify = "yes";
    job.counter = "/var/lib/line-2/counter";
    job.start = "1000";
    job.increment = "2";
    job.serialDb = "postgresql://line@db.factory/vortana?sslmode=require";
    job.dbCounter = "VT8B-W16-line2";
    job.ports = {"/dev/ttyUSB0", "usb:A10K3Z1Q", "COM3"};
    job.log = "run.csv";
    job.station = "line 2";
    job.operatorName = "王";
    job.timeout = "12.5";
    job.lateWait = "0";
    job.loop = true;
    return job;
}

// The message of the JobError `read` throws, or "" when it throws none.
template <typename Read>
std::string Refusal(Read read) {
    try {
        read();
    } catch (const JobError& error) {
        EXPECT_EQ(error.Status(), ExitStatus::FileRefused);
        return error.what();
    }
    return "";
}

TEST(JobFile, ReadsBackWhatItWrites) {
    const JobFile job = EveryEntry();
    EXPECT_EQ(ParseJobFile(JobFileText(job, "vortana-cli 5.0"), "job.ini"), job);

    JobFile least;
    least.model = "VT8B-W16";
    least.file = "demo.s19";
    least.crc32 = 0x8A7D8A3D;
    EXPECT_EQ(JobFileText(least, "vortana-cli 5.0"),
              "; vortana-cli 5.0 job: review it before use; the CRC-32 approves the firmware\n"
              "\n[job]\nmodel = VT8B-W16\nfile = demo.s19\ncrc32 = 8A7D8A3D\n"
              "\n[run]\nloop = no\n");
}

TEST(JobFile, RefusesEveryLineItCannotTakeWithItsNumber) {
    const std::string head = "[job]\nmodel=M\nfile=f.s19\ncrc32=8a7d8a3d\n";
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {head + "[settings]\nmdoe=online\n", "job.ini:6: unknown key 'mdoe' in [settings]"},
        {head + "[setting]\nmode=online\n", "job.ini:5: unknown section [setting]"},
        {head + "[settings]\nmode=onlien\n",
         "job.ini:6: mode in [settings] takes online or offline, not 'onlien'"},
        {head + "[serial]\nincrement=10\n",
         "job.ini:6: increment in [serial] takes a whole number from 0 to 9, not '10'"},
        {head + "[run]\ntimeout=0\n",
         "job.ini:6: timeout in [run] takes a number of seconds above 0, not '0'"},
        {head + "[ports]\nports=a,,b\n",
         "job.ini:6: ports in [ports] takes port names separated by commas, not 'a,,b'"},
        {head + "[records]\nstation=\n", "job.ini:6: station in [records] takes a value, not ''"},
        {"[job]\nmodel=M\nfile=f.s19\ncrc32=8A7D8A3\n",
         "job.ini:4: crc32 in [job] takes eight hexadecimal digits, not '8A7D8A3'"},
        {head + "[run]\nloop=yes\nloop=no\n", "job.ini:7: key 'loop' given twice in [run]"},
        {"[job]\nmodel=M\nfile=f.s19\n", "job.ini: no crc32 in [job]: a job names its firmware"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal([&] { ParseJobFile(c.text, "job.ini"); }), c.message) << c.text;
}

class JobFileOnDisk : public ::testing::Test {
  protected:
    JobFileOnDisk()
        : dir_(fs::temp_directory_path() /
               ("vortana-job-" + std::to_string(std::random_device()()))) {
        fs::create_directories(dir_ / "jobs" / "fw");
    }
    ~JobFileOnDisk() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(JobFileOnDisk, PathsBelowTheJobsFolderAreKeptRelativeToItOthersWhole) {
    JobFile job = EveryEntry();
    job.file = Path("jobs/fw/demo.s19");
    job.log = Path("jobs/../jobs/run.csv");
    job.counter = Path("counter");
    SaveJobFile(Path("jobs/job.ini"), job, "vortana-cli 5.0");

    const std::string text = ReadFileBytes(Path("jobs/job.ini"));
    EXPECT_THAT(text, ::testing::HasSubstr("\nfile = fw/demo.s19\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("\nlog = run.csv\n"));
    EXPECT_THAT(text, ::testing::HasSubstr("\ncounter = " + Path("counter") + "\n"));

    const JobFile read = ReadJobFile(Path("jobs/job.ini"));
    EXPECT_EQ(fs::path(read.file), fs::path(Path("jobs/fw/demo.s19")));
    EXPECT_EQ(fs::path(read.log), fs::path(Path("jobs/run.csv")));
    EXPECT_EQ(read.counter, Path("counter"));
}

TEST_F(JobFileOnDisk, NeverReplacesAJobNorWritesOneItCannotReadBack) {
    std::ofstream(Path("job.ini")) << "approved\n";
    EXPECT_EQ(Refusal([&] { SaveJobFile(Path("job.ini"), EveryEntry(), "v"); }),
              Path("job.ini") +
                  " exists already: a saved job is never replaced; remove it first, or save the "
                  "job under another name");

    JobFile job = EveryEntry();
    job.ports = {"/dev/ttyUSB0", "COM1,COM2"};
    EXPECT_EQ(Refusal([&] { SaveJobFile(Path("new.ini"), job, "v"); }),
              "ports in [ports] cannot be kept in a job file as it is: '/dev/ttyUSB0, COM1,COM2'");
    job = EveryEntry();
    job.station = "line 2\n[run]";
    EXPECT_THAT(Refusal([&] { SaveJobFile(Path("new.ini"), job, "v"); }),
                StartsWith("station in [records] cannot be kept in a job file as it is"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
        << "job.ini and jobs/ alone";
}

}  // namespace
}  // namespace vortana
