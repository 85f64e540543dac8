// Read-out pages over the simulator's pseudo-terminal: their count, order and contents, the
// gaps between them, and the pace of the line.
#include <gtest/gtest.h>

#include "harness/SimLine.h"

namespace vortana::sim::test {
namespace {

using Clock = std::chrono::steady_clock;

// A chip whose every byte tells its address's 4 KiB page and offset apart.
SimConfig PatternedChip(SimConfig config = SimConfig::Immediate()) {
    config.fill = PatternImage(0x10000, 0x33);
    return config;
}

Bytes ChipPage(std::uint16_t address) {
    const Bytes chip = PatternImage(0x10000, 0x33);
    return Bytes(chip.begin() + address, chip.begin() + address + 4096);
}

TEST(SimReadOut, TheWindowPageComesFirstThenTheMainFlash) {
    SimLine line(PatternedChip());
    line.Send(ReadOutFrame(0xC0, 20, 0xB0));
    for (std::uint16_t address : {0xB000, 0xC000, 0xD000, 0xE000, 0xF000})
        EXPECT_EQ(line.ReadCount(4096), ChipPage(address)) << std::hex << address;
    EXPECT_TRUE(line.StaysQuiet()) << "five pages and no more";

    line.Send(ReadOutFrame(0x40, 8, 0x14));
    EXPECT_EQ(line.ReadCount(4096), ChipPage(0x1000));
    EXPECT_EQ(line.ReadCount(4096), ChipPage(0x4000));
    EXPECT_TRUE(line.StaysQuiet());
}

TEST(SimReadOut, PlainModelPagesRunOnFromTheStart) {
    SimLine line(PatternedChip());
    line.Send(ReadOutFrame(0x40, 48, 0x00));
    for (std::uint16_t page = 0; page < 12; ++page)
        EXPECT_EQ(line.ReadCount(4096), ChipPage(static_cast<std::uint16_t>(0x4000 + page * 4096)));
    EXPECT_TRUE(line.StaysQuiet());
}

// Each page is its own burst: the line is quiet for longer than the front end's 100 ms gap
// between them. Checked loosely, as a busy machine may delay the reader.
TEST(SimReadOut, PagesArriveAsSeparateBursts) {
    SimLine line(PatternedChip());
    line.Send(ReadOutFrame(0x80, 12, 0x00));
    std::vector<Clock::time_point> arrivals;
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(line.ReadCount(1).size(), 1u);
        arrivals.push_back(Clock::now());
        EXPECT_EQ(line.ReadCount(4095).size(), 4095u);
    }
    EXPECT_GT(arrivals[1] - arrivals[0], 100ms);
    EXPECT_GT(arrivals[2] - arrivals[1], 100ms);
}

// 4096 bytes at 38400 baud 8N1 take 4096 / 3840 s, about 1.07 s.
TEST(SimReadOut, APageIsPacedAtTheBaudRate) {
    SimConfig config = SimConfig::Immediate();
    config.pace = true;
    SimLine line(config);
    const auto start = Clock::now();
    line.Send(ReadOutFrame(0x80, 4, 0x00));
    EXPECT_EQ(line.ReadCount(4096).size(), 4096u);
    const std::chrono::duration<double> took = Clock::now() - start;
    EXPECT_GT(took.count(), 0.95);
    EXPECT_LT(took.count(), 4.0);
}

}  // namespace
}  // namespace vortana::sim::test
