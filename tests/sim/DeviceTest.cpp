// The device engine without a line: answers, their pauses, and the faults' shapes.
#include "sim/Device.h"

#include <gtest/gtest.h>
#include <random>

#include "harness/SimLine.h"

namespace vortana::sim {
namespace {

using namespace std::chrono_literals;
using test::Frame;
using test::HeaderFrame;
using test::ImageBlocks;
using test::PatternImage;
using test::ReadOutFrame;
using test::ReplyBytes;
using test::SettingsFrame;

class DeviceTest : public ::testing::Test {
  protected:
    explicit DeviceTest(DeviceConfig config = {}) : device_(config, trace_) {}

    std::vector<Answer> Feed(const Bytes& bytes) { return device_.Feed(bytes); }
    // The single answer `bytes` gets.
    Answer One(const Bytes& bytes) {
        auto answers = Feed(bytes);
        EXPECT_EQ(answers.size(), 1u);
        return answers.empty() ? Answer{} : answers.front();
    }
    void Download(std::uint8_t sizeK, std::uint8_t model, std::uint8_t startHigh) {
        EXPECT_TRUE(Feed(HeaderFrame(sizeK, model)).empty());
        for (const Bytes& block : ImageBlocks(PatternImage(sizeK * 1024u), model, startHigh))
            Feed(block);
        ASSERT_FALSE(device_.State().image.empty());
    }

    Trace trace_;
    Device device_;
};

TEST_F(DeviceTest, WorkTimesGrowWithTheFlashSize) {
    EXPECT_EQ(One(Frame(0x01)).bursts[0].pause, 64 * 30ms);  // 64 KiB until told otherwise
    Download(16, 0x00, 0xC0);
    EXPECT_EQ(One(Frame(0x01)).bursts[0].pause, 16 * 30ms);
    EXPECT_EQ(One(Frame(0x02)).bursts[0].pause, 16 * 50ms);
    EXPECT_EQ(One(Frame(0x03)).bursts[0].pause, 16 * 30ms);
    EXPECT_EQ(One(Frame(0x05)).bursts[0].pause, 16 * (30 + 50 + 30) * 1ms);
    EXPECT_EQ(One(SettingsFrame()).bursts[0].pause, 0ms);
    EXPECT_EQ(device_.State().work, (64 * 30 + 16 * (30 + 50 + 30 + 30 + 50 + 30)) * 1ms);
}

TEST_F(DeviceTest, SettingsSteerWhatEraseProgramVerifyDoes) {
    Download(4, 0x00, 0x80);
    // Erase and verify switched off: programming over the programmed image changes nothing
    // and nothing is verified.
    One(SettingsFrame(0x55));
    EXPECT_EQ(One(Frame(0x05)).bursts[0].pause, 4 * 50ms);
    EXPECT_EQ(One(Frame(0x05)).bursts[0].bytes, ReplyBytes(0x05, 0x99));
}

class ScaledDeviceTest : public DeviceTest {
  protected:
    ScaledDeviceTest() : DeviceTest(DeviceConfig{0.5, false, {}}) {}
};

TEST_F(ScaledDeviceTest, WorkScaleMultipliesTheTimes) {
    EXPECT_EQ(One(Frame(0x01)).bursts[0].pause, 64 * 15ms);
}

TEST_F(DeviceTest, ReadOutPagesAreSeparatedByMoreThanTheBurstGap) {
    const Answer pages = One(ReadOutFrame(0x40, 12, 0x14));
    EXPECT_EQ(pages.kind, Answer::Kind::Pages);
    ASSERT_EQ(pages.bursts.size(), 3u);
    EXPECT_EQ(pages.bursts[0].pause, 0ms);
    for (std::size_t i = 1; i < pages.bursts.size(); ++i)
        EXPECT_GT(pages.bursts[i].pause, 100ms);
}

// What each fault does to the answer it applies to, and which answers it waits for.
TEST_F(DeviceTest, EachFaultShapesTheAnswerItAppliesTo) {
    device_.ArmFault({FaultKind::Silence});
    EXPECT_TRUE(One(SettingsFrame()).bursts.empty());
    EXPECT_EQ(One(SettingsFrame()).bursts[0].bytes, ReplyBytes(0x06, 0x99));  // used once

    device_.ArmFault({FaultKind::Late, 250});
    device_.ArmFault({FaultKind::Late});
    EXPECT_EQ(One(SettingsFrame()).bursts[0].pause, 250ms);
    EXPECT_EQ(One(Frame(0x01)).bursts[0].pause, 64 * 30ms + 3000ms);

    device_.ArmFault({FaultKind::Short});
    EXPECT_EQ(One(SettingsFrame()).bursts[0].bytes, (Bytes{0x68, 0x06, 0x02}));

    device_.ArmFault({FaultKind::Garbage});
    const Bytes noise = One(SettingsFrame()).bursts[0].bytes;
    ASSERT_EQ(noise.size(), 5u);
    for (std::uint8_t byte : noise)
        for (std::uint8_t meaningful : {0x68, 0x16, 0x99, 0x00, 0x11, 0xEE, 0x55})
            EXPECT_NE(byte, meaningful);

    // Wrong status waits for a reply with a status: read-out pages pass it by.
    device_.ArmFault({FaultKind::WrongStatus});
    EXPECT_EQ(One(ReadOutFrame(0x80, 8, 0x00)).bursts.size(), 2u);
    EXPECT_EQ(One(Frame(0x03)).bursts[0].bytes, ReplyBytes(0x03, 0x5A));
    EXPECT_EQ(device_.FaultsWaiting(), 0u);
}

TEST_F(DeviceTest, PageFaultsSplitAndJoinTheFirstPages) {
    device_.ArmFault({FaultKind::DoublePage});
    device_.ArmFault({FaultKind::SplitPage});
    // A one-page read-out cannot join two pages: it takes the split and leaves the join.
    const Answer split = One(ReadOutFrame(0x80, 4, 0x00));
    ASSERT_EQ(split.bursts.size(), 2u);
    EXPECT_EQ(split.bursts[0].bytes.size(), 2048u);
    EXPECT_EQ(split.bursts[1].bytes.size(), 2048u);
    EXPECT_GT(split.bursts[1].pause, 100ms);

    const Answer joined = One(ReadOutFrame(0x80, 12, 0x00));
    ASSERT_EQ(joined.bursts.size(), 2u);
    EXPECT_EQ(joined.bursts[0].bytes.size(), 8192u);
    EXPECT_EQ(joined.bursts[1].bytes.size(), 4096u);
}

TEST_F(DeviceTest, DownloadFaultsWaitForBlockRequests) {
    device_.ArmFault({FaultKind::HangUp});
    device_.ArmFault({FaultKind::BlockOutOfRange});
    device_.ArmFault({FaultKind::BlockOutOfRange, 20});
    One(SettingsFrame());  // not a block request: neither fault applies
    EXPECT_EQ(device_.FaultsWaiting(), 3u);

    const auto blocks = ImageBlocks(PatternImage(32 * 1024), 0x00, 0x80);
    Feed(HeaderFrame(32, 0x00));
    EXPECT_EQ(One(blocks[0]).bursts[0].bytes, ReplyBytes(0x00, 0x55, {0x08}));
    EXPECT_EQ(One(blocks[1]).bursts[0].bytes, ReplyBytes(0x00, 0x55, {20}));
    EXPECT_EQ(One(blocks[2]).bursts[0].bytes, ReplyBytes(0x00, 0x55, {0x03}));
    const Answer hangUp = One(blocks[3]);  // the request for block 4 of 8: halfway
    EXPECT_TRUE(hangUp.hangUp);
    EXPECT_TRUE(hangUp.bursts.empty());
}

TEST(Fault, ParsesNamesAndValues) {
    std::string error;
    for (const FaultInfo& info : kFaults) {
        const auto fault = ParseFault(info.name, error);
        ASSERT_TRUE(fault) << info.name;
        EXPECT_EQ(fault->kind, info.kind);
        EXPECT_EQ(FaultText(*fault), info.name);
    }
    const auto late = ParseFault("late=1500", error);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->value, 1500u);
    EXPECT_EQ(FaultText(*late), "late=1500");

    const std::pair<const char*, const char*> bad[] = {
        {"quiet", "unknown fault 'quiet'"},
        {"silence=3", "the fault 'silence' takes no value"},
        {"late=", "the fault 'late' takes a number from 0 to 600000, not ''"},
        {"late=-1", "the fault 'late' takes a number from 0 to 600000, not '-1'"},
        {"block-out-of-range=256",
         "the fault 'block-out-of-range' takes a number from 0 to 255, not '256'"},
    };
    for (const auto& [text, message] : bad) {
        EXPECT_FALSE(ParseFault(text, error)) << text;
        EXPECT_EQ(error, message);
    }
}

// Whatever arrives, the device keeps to the reply layout and keeps answering frames.
TEST(DeviceRobustness, RandomInputNeverBreaksIt) {
    std::mt19937 random(20240601);
    Trace trace;
    Device device(DeviceConfig{0, false, {}}, trace);
    const Bytes settings = SettingsFrame();
    for (int round = 0; round < 3000; ++round) {
        Bytes chunk(random() % 64);
        for (auto& byte : chunk)
            byte = random() % 4 == 0 ? 0x68 : static_cast<std::uint8_t>(random() % 24);
        if (round % 7 == 0)  // now and then a frame that could start a download or read-out
            chunk = Frame(static_cast<std::uint8_t>(random() % 8), Bytes(random() % 9, 0x04));
        for (const Answer& answer : device.Feed(chunk)) {
            for (const Burst& burst : answer.bursts) {
                if (answer.kind == Answer::Kind::Pages)
                    continue;
                ASSERT_GE(burst.bytes.size(), 5u);
                EXPECT_EQ(burst.bytes[0], 0x68);
                EXPECT_EQ(burst.bytes[2], burst.bytes.size() - 3);
                EXPECT_EQ(burst.bytes.back(), 0x16);
            }
        }
        if (round % 100 == 0)
            device.LineWentQuiet();
    }
    device.LineWentQuiet();
    EXPECT_GT(device.State().badInputs, 1000u);  // the run did reach the bad paths
    EXPECT_GT(device.State().frames.size(), 20u);
    // Anything left waiting for a block is ended by a frame's start byte.
    const auto answers = device.Feed(settings);
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers.back().bursts.back().bytes, ReplyBytes(0x06, 0x99));
}

}  // namespace
}  // namespace vortana::sim
