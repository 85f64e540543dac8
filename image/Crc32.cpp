#include "image/Crc32.h"

#include <array>

namespace vortana {
namespace {

constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320;
constexpr std::uint32_t kAllOnes = 0xFFFFFFFF;

// The CRC of each byte value alone, so each byte takes one look-up instead of eight shifts.
constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t value = 0; value < table.size(); ++value) {
        std::uint32_t crc = value;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) != 0 ? (crc >> 1) ^ kReflectedPolynomial : crc >> 1;
        table[value] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t Crc32Extend(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
    crc ^= kAllOnes;
    for (const std::uint8_t byte : bytes)
        crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ kAllOnes;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    return Crc32Extend(0, bytes);
}

}  // namespace vortana
