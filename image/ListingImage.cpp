#include "image/ListingImage.h"

#include <stdexcept>

#include "image/HexRow.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::string_view kSeparator = ":: ";
constexpr std::size_t kCellWidth = 3;  // two characters and a blank

ImageSegment ParseRow(const std::string& row) {
    const std::size_t separator = row.find(kSeparator);
    const std::size_t cells = separator + kSeparator.size();
    if (separator == std::string::npos || separator == 0 ||
        row.size() < cells + kHexRowBytes * kCellWidth - 1)
        throw std::invalid_argument("not a hex dump row: \"" + row + "\"");
    ImageSegment segment;
    segment.address = static_cast<std::uint32_t>(HexToIntDef(row.substr(0, separator)));
    for (std::size_t i = 0; i < kHexRowBytes; ++i) {
        const std::string cell = row.substr(cells + i * kCellWidth, 2);
        segment.bytes.push_back(static_cast<std::uint8_t>(HexToIntDef(cell)));
    }
    return segment;
}

}  // namespace

std::vector<ImageSegment> ListingImage(std::span<const std::string> rows) {
    std::vector<ImageSegment> segments;
    for (const std::string& row : rows) {
        ImageSegment next = ParseRow(row);
        if (!segments.empty() &&
            segments.back().address + segments.back().bytes.size() == next.address) {
            std::vector<std::uint8_t>& bytes = segments.back().bytes;
            bytes.insert(bytes.end(), next.bytes.begin(), next.bytes.end());
        } else {
            segments.push_back(std::move(next));
        }
    }
    return segments;
}

}  // namespace vortana
