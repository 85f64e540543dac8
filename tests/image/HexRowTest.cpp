#include "image/HexRow.h"

#include <gtest/gtest.h>
#include <array>

namespace vortana {
namespace {

TEST(HexRow, ReadOutRowIsAddressSeparatorAndSixteenCells) {
    std::array<std::uint8_t, 16> bytes{};
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    const std::string row = HexRow(0xB000, bytes);
    EXPECT_EQ(row, "B000:: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
    EXPECT_EQ(row.size(), 55u);
}

TEST(HexRow, AddressesPadToFourAndGrowPastThem) {
    std::array<std::uint8_t, 16> bytes;
    bytes.fill(0xAB);
    EXPECT_EQ(HexRow(0x10, bytes).substr(0, 7), "0010:: ");
    EXPECT_EQ(HexRow(0x10000, bytes).substr(0, 8), "10000:: ");
    EXPECT_EQ(HexRow(0x10000, bytes).size(), 56u);
}

TEST(HexRow, FileBufferRowKeepsTheFileCharacters) {
    std::array<std::string, 16> entries;
    entries.fill("$FF");
    entries[0] = "$ab";
    entries[15] = "$0c";
    EXPECT_EQ(HexRowFromImageText(0x4000, entries),
              "4000:: ab FF FF FF FF FF FF FF FF FF FF FF FF FF FF 0c ");
}

}  // namespace
}  // namespace vortana
