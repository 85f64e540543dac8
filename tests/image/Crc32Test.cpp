#include "image/Crc32.h"

#include <gtest/gtest.h>

#include <string_view>

namespace vortana {
namespace {

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Crc32, MatchesTheIeeeCheckValuesWholeAndInPieces) {
    EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);  // the standard check value
    EXPECT_EQ(Crc32(Bytes("")), 0u);
    EXPECT_EQ(Crc32(Bytes("The quick brown fox jumps over the lazy dog")), 0x414FA339u);
    EXPECT_EQ(Crc32Extend(Crc32(Bytes("12345")), Bytes("6789")), 0xCBF43926u);
}

}  // namespace
}  // namespace vortana
