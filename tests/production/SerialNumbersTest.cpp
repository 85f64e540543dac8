// The serial numbers' ranges and the counter file that hands them out across runs and processes.
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "production/JobError.h"
#include "production/SerialCounter.h"
#include "production/SerialRange.h"

namespace vortana::test {
namespace {

class SerialCounterTest : public ::testing::Test {
  protected:
    SerialCounterTest() {
        char pattern[] = "/tmp/vortana-counter-XXXXXX";
        dir_ = ::mkdtemp(pattern);
    }
    ~SerialCounterTest() override { std::filesystem::remove_all(dir_); }

    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name) const {
        std::ostringstream bytes;
        bytes << std::ifstream(File(name), std::ios::binary).rdbuf();
        return bytes.str();
    }

  private:
    std::filesystem::path dir_;
};

TEST(SerialRange, OnlineOneNumberOfflineCountTimesIncrementNeverPastTenDigits) {
    SettingsControls offline{.RadioGroup1 = 1, .Edit4 = "100"};
    EXPECT_EQ(SerialSpan(SettingsControls{}, 7), 1);
    EXPECT_EQ(SerialSpan(offline, 3), 300);
    EXPECT_EQ(SerialSpan(offline, 0), 1);  // every chip the same number
    offline.Edit4 = "0";
    EXPECT_THROW(SerialSpan(offline, 1), JobError);
    EXPECT_THROW(SerialRangeSize(89991, std::size_t{1} << 62), JobError);
}

TEST_F(SerialCounterTest, TheCounterGivesNoNumberPastTenDigitsAndIsLeftAsItWas) {
    for (const std::string held :
         {"9999999999\n", "9223372036854775806\n", "99999999999999999999\n"}) {
        WriteFile("counter", held);
        EXPECT_THROW(ReserveSerialNumbers(File("counter"), 2, 0), JobError) << held;
        EXPECT_EQ(ReadFile("counter"), held);
    }
    WriteFile("counter", "9999999998\n");
    EXPECT_EQ(ReserveSerialNumbers(File("counter"), 2, 0), 9999999998);
    EXPECT_EQ(ReadFile("counter"), "10000000000\n");
}

// Each reservation moves the counter by one: two that read the same number would leave it short.
TEST_F(SerialCounterTest, TwoNamesOfOneCounterShareItsLockAcrossProcesses) {
    std::filesystem::create_symlink(File("counter"), File("alias"));  // dangling until the first
    constexpr int kReservations = 40;
    const auto reserve = [this](const char* name) {
        for (int i = 0; i < kReservations; ++i)
            ReserveSerialNumbers(File(name), 1, 1);
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            reserve("alias");
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    reserve("counter");
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFile("counter"), std::to_string(1 + 2 * kReservations) + "\n");
}

TEST_F(SerialCounterTest, RunsAtOnceNeverShareANumber) {
    const std::string file = File("counter");
    constexpr int kReservations = 50;
    std::vector<std::int64_t> taken[2];
    {
        std::jthread a([&] {
            for (int i = 0; i < kReservations; ++i)
                taken[0].push_back(ReserveSerialNumbers(file, 2, 1));
        });
        std::jthread b([&] {
            for (int i = 0; i < kReservations; ++i)
                taken[1].push_back(ReserveSerialNumbers(file, 2, 1));
        });
    }
    std::set<std::int64_t> all(taken[0].begin(), taken[0].end());
    all.insert(taken[1].begin(), taken[1].end());
    EXPECT_EQ(all.size(), 2u * kReservations);
    EXPECT_EQ(ReserveSerialNumbers(file, 1, 1), 1 + 4 * kReservations);
}

}  // namespace
}  // namespace vortana::test
