// Crc32: the CRC-32 of IEEE 802.3 (reflected polynomial 0xEDB88320, initial value and final xor
// 0xFFFFFFFF), the one zlib, gzip and the `crc32` tool compute, so a file's image can be checked
// with any of them.
//
// Qt-free; pure functions over a table built at compile time, safe on any thread.
#pragma once

#include <cstdint>
#include <span>

namespace vortana {

// The CRC-32 of `bytes`.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// The CRC-32 of the bytes `crc` was computed over followed by `bytes` (Crc32Extend(0, b) equals
// Crc32(b)), for data that comes in pieces.
std::uint32_t Crc32Extend(std::uint32_t crc, std::span<const std::uint8_t> bytes);

}  // namespace vortana
