// The spool's lines: every end comes back as it went in, and a line that cannot be read stays.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "production/RecordSpool.h"

namespace vortana::test {
namespace {

TEST(RecordSpool, EndsComeBackAsTheyWentInAndUnreadableLinesStay) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vortana-spool-test-" + std::to_string(::getpid()));
    RecordSpool spool((folder / "made" / "spool").string());  // its folder made when missing
    const RecordEnd ends[] = {
        {41, "VT8B-W16", 1001, ExitStatus::Success, "", std::chrono::milliseconds(8312)},
        {42, "line \"2\"\\", 9999999999, InterruptedBy(15), "interrupted\tby \x01signal\n15, 中文",
         std::chrono::milliseconds(0)},
    };
    for (const RecordEnd& end : ends)
        spool.Add(end);
    std::ofstream(spool.Path(), std::ios::app) << "{\"record\":43,\"counter\":\"\\ud800\"}\n";

    std::vector<RecordEnd> sent;
    const RecordSpool::Drained drained = spool.Drain([&sent](const RecordEnd& end) {
        sent.push_back(end);
        return end.record != 42;  // the database does not know it
    });
    EXPECT_EQ(drained.sent, 1u);
    EXPECT_EQ(drained.kept, 2u);
    ASSERT_EQ(sent.size(), 2u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].record, ends[i].record);
        EXPECT_EQ(sent[i].counter, ends[i].counter);
        EXPECT_EQ(sent[i].serial, ends[i].serial);
        EXPECT_EQ(sent[i].status, ends[i].status);
        EXPECT_EQ(sent[i].message, ends[i].message);
        EXPECT_EQ(sent[i].duration, ends[i].duration);
    }
    EXPECT_EQ(spool.Drain([](const RecordEnd&) { return true; }).sent, 1u);
    EXPECT_EQ(spool.Drain([](const RecordEnd&) { return true; }).kept, 1u);  // the unreadable one
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vortana::test
