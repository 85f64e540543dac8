#include "sim/InputParser.h"

#include <gtest/gtest.h>

namespace vortana::sim {
namespace {

using Kind = InputParser::Kind;

std::vector<InputParser::Event> ParseAll(InputParser& parser, const Bytes& bytes) {
    std::span<const std::uint8_t> input(bytes);
    std::vector<InputParser::Event> events;
    while (auto event = parser.Next(input))
        events.push_back(std::move(*event));
    return events;
}

std::vector<Kind> Kinds(const std::vector<InputParser::Event>& events) {
    std::vector<Kind> kinds;
    for (const auto& event : events)
        kinds.push_back(event.kind);
    return kinds;
}

TEST(InputParser, FramesSplitAnywhereComeOutWhole) {
    const Bytes stream{0x68, 0x06, 0x05, 0x55, 0x50, 0x12, 0x34,
                       0x00, 0x16, 0x68, 0x01, 0x00, 0x16};
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        InputParser parser;
        auto events = ParseAll(parser, Bytes(stream.begin(), stream.begin() + cut));
        const auto rest = ParseAll(parser, Bytes(stream.begin() + cut, stream.end()));
        events.insert(events.end(), rest.begin(), rest.end());
        ASSERT_EQ(Kinds(events), (std::vector{Kind::Frame, Kind::Frame})) << "cut at " << cut;
        EXPECT_EQ(events[0].command->code, 0x06);
        EXPECT_EQ(events[0].bytes, Bytes(stream.begin(), stream.begin() + 9));
        EXPECT_EQ(events[1].command->code, 0x01);
        EXPECT_FALSE(parser.HoldsIncomplete());
    }
}

TEST(InputParser, NoiseBeforeAStartByteIsReportedAsOneRun) {
    InputParser parser;
    const auto events = ParseAll(parser, {0x00, 0x16, 0x99, 0x68, 0x02, 0x00, 0x16, 0x42});
    ASSERT_EQ(Kinds(events), (std::vector{Kind::Noise, Kind::Frame, Kind::Noise}));
    EXPECT_EQ(events[0].bytes, (Bytes{0x00, 0x16, 0x99}));
    EXPECT_EQ(events[2].bytes, Bytes{0x42});
}

TEST(InputParser, BadFramesResynchroniseOnTheNextStartByte) {
    struct Case {
        Bytes input;
        std::uint8_t badCode;  // 0xFF: unknown code, no command
        std::string problem;
    };
    const Case cases[] = {
        {{0x68, 0x07, 0x68, 0x03, 0x00, 0x16}, 0xFF, "unknown command code 0x07"},
        {{0x68, 0x03, 0x01, 0x68, 0x03, 0x00, 0x16}, 0x03, "wrong data length 1 (takes 0)"},
        {{0x68, 0x01, 0x00, 0x68, 0x03, 0x00, 0x16}, 0x01, "no end byte (0x68 where 0x16 belongs)"},
        {{0x68, 0x68, 0x03, 0x00, 0x16}, 0xFF, "unknown command code 0x68"},
    };
    for (const Case& c : cases) {
        InputParser parser;
        auto events = ParseAll(parser, c.input);
        // The bytes of the bad frame after its start byte are read again; any that are not
        // a start byte are noise. The verify frame hidden in them comes out whole.
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ(events.front().kind, Kind::BadFrame);
        EXPECT_EQ(events.front().problem, c.problem);
        EXPECT_EQ(events.front().command ? events.front().command->code : 0xFF, c.badCode);
        EXPECT_EQ(events.back().kind, Kind::Frame);
        EXPECT_EQ(events.back().command->code, 0x03);
    }
}

TEST(InputParser, BlocksAreTakenRawWhileExpected) {
    InputParser parser;
    parser.ExpectBlock();
    Bytes block(kBlockSize, 0x68);  // start bytes inside a block are data
    block[0] = 0x00;
    const auto events = ParseAll(parser, block);
    ASSERT_EQ(Kinds(events), std::vector{Kind::Block});
    EXPECT_EQ(events[0].bytes, block);
    EXPECT_TRUE(parser.ExpectingBlock());

    const auto half = ParseAll(parser, Bytes(100, 0x01));
    EXPECT_TRUE(half.empty());
    EXPECT_TRUE(parser.HoldsIncomplete());
    const auto dropped = parser.DropIncomplete();
    ASSERT_TRUE(dropped);
    EXPECT_EQ(dropped->kind, Kind::Incomplete);
    EXPECT_EQ(dropped->bytes.size(), 100u);
    EXPECT_FALSE(parser.HoldsIncomplete());
}

TEST(InputParser, AStartByteWhereABlockBeginsEndsTheWaitForBlocks) {
    InputParser parser;
    parser.ExpectBlock();
    const auto events = ParseAll(parser, {0x68, 0x06, 0x05, 0x55, 0x50, 0x00, 0x00, 0x00, 0x16});
    ASSERT_EQ(Kinds(events), (std::vector{Kind::BlockWaitEnded, Kind::Frame}));
    EXPECT_EQ(events[1].command->code, 0x06);
    EXPECT_FALSE(parser.ExpectingBlock());
}

}  // namespace
}  // namespace vortana::sim
