#include "protocol/ReadOutListing.h"

#include "image/HexRow.h"
#include "image/ModelCodeInfo.h"
#include "shell/Convert.h"

#include <span>

namespace vortana {
namespace {

// The base of the model's additional window, which the device sends as the first page; 0 when
// the code text (compared exactly) names no model with one.
std::uint32_t WindowBaseOf(const std::string& modelCode) {
    const ModelCodeInfo* code = FindModelCode(modelCode);
    return code != nullptr ? code->windowBase : 0;
}

}  // namespace

std::uint32_t PageStartAddress(const SessionState& state) {
    const std::uint32_t windowBase = WindowBaseOf(state.ModelCode);
    const auto flashStart = static_cast<std::uint32_t>(HexToIntDef(state.FlashStart));
    switch (state.ReadPageCount) {
        case 1:
            return windowBase != 0 ? windowBase : flashStart;
        case 2:
            return windowBase != 0 ? flashStart : state.ReadRowAddress;
        default:
            return state.ReadRowAddress;
    }
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
