// The hex dump row, the one line format of both hex views: the address as upper-case
// hexadecimal padded to four digits (more from 0x10000 on), ":: ", then sixteen cells of two
// characters each followed by one blank. No character column, no gap between the halves.
// Qt-free.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vortana {

inline constexpr std::size_t kHexRowBytes = 16;

// A read-out row: each byte as two upper-case hexadecimal digits.
std::string HexRow(std::uint32_t address, std::span<const std::uint8_t, kHexRowBytes> bytes);

// A file-buffer row: for each image entry ("$" and two characters), the two characters after
// the dollar sign exactly as they stand, lower-case digits included.
std::string HexRowFromImageText(std::uint32_t address,
                                std::span<const std::string, kHexRowBytes> entries);

}  // namespace vortana
