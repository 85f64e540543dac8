#include "image/ImageListing.h"

#include <algorithm>

#include "image/HexRow.h"

namespace vortana {

std::vector<std::string> ListingRows(std::span<const std::string> imageText,
                                     const ImageLayout& layout) {
    const std::size_t count =
        std::min<std::size_t>(layout.RowCount(), imageText.size() / kHexRowBytes);
    std::vector<std::string> rows;
    rows.reserve(count);
    for (std::size_t r = 0; r < count; ++r) {
        rows.push_back(
            HexRowFromImageText(layout.RowAddress(static_cast<std::uint32_t>(r)),
                                imageText.subspan(r * kHexRowBytes).first<kHexRowBytes>()));
    }
    return rows;
}

}  // namespace vortana
