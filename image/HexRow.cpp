#include "image/HexRow.h"

#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::size_t kRowLength = 4 + 3 + kHexRowBytes * 3;

std::string RowHead(std::uint32_t address) {
    std::string row;
    row.reserve(kRowLength + 1);
    row += IntToHex(address, 4);
    row += ":: ";
    return row;
}

}  // namespace

std::string HexRow(std::uint32_t address, std::span<const std::uint8_t, kHexRowBytes> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string row = RowHead(address);
    for (std::uint8_t byte : bytes) {
        row += kDigits[byte >> 4];
        row += kDigits[byte & 0xF];
        row += ' ';
    }
    return row;
}

std::string HexRowFromImageText(std::uint32_t address,
                                std::span<const std::string, kHexRowBytes> entries) {
    std::string row = RowHead(address);
    for (const std::string& entry : entries) {
        row.append(entry, 1, 2);  // what follows the "$"
        row += ' ';
    }
    return row;
}

}  // namespace vortana
