#include "protocol/ReadOutListing.h"

#include "image/HexRow.h"
#include "image/ModelCodeInfo.h"
#include "shell/Convert.h"

#include <span>

namespace vortana {

std::uint32_t PageStartAddress(const SessionState& state) {
    const std::uint32_t windowBase = WindowBaseOf(state.ModelCode);
    const bool startsAnArea =
        state.ReadPageCount == 1 || (state.ReadPageCount == 2 && windowBase != 0);
    if (!startsAnArea)
        return state.ReadRowAddress;
    const auto flashStart = static_cast<std::uint32_t>(HexToIntDef(state.FlashStart));
    return PageAddress(windowBase, flashStart, state.ReadPageCount - 1u);
}

std::vector<std::string> PageRows(std::uint32_t address, const ReadOutPage& page) {
    std::vector<std::string> rows;
    rows.reserve(kRowsPerPage);
    for (std::size_t row = 0; row < kRowsPerPage; ++row) {
        const std::span<const std::uint8_t, kHexRowBytes> bytes(page.data() + row * kHexRowBytes,
                                                                kHexRowBytes);
        rows.push_back(HexRow(address, bytes));
        address += kHexRowBytes;
    }
    return rows;
}

}  // namespace vortana
