#include "protocol/ReadOutListing.h"

#include "image/HexRow.h"
#include "shell/Convert.h"

#include <algorithm>
#include <array>
#include <span>

namespace vortana {
namespace {

struct AdditionalWindow {
    const char* modelCode;
    std::uint32_t base;
};

// clang-format off
constexpr std::array<AdditionalWindow, 4> kAdditionalWindows{{
    // model code  window base
    {"0x10",       0x1000},
    {"0x14",       0x1000},
    {"0xB0",       0xB000},
    {"0xB2",       0xB000},
}};
// clang-format on

const AdditionalWindow* WindowOf(const std::string& modelCode) {
    const auto* window =
        std::find_if(kAdditionalWindows.begin(), kAdditionalWindows.end(),
                     [&modelCode](const AdditionalWindow& w) { return modelCode == w.modelCode; });
    return window == kAdditionalWindows.end() ? nullptr : window;
}

}  // namespace

std::uint32_t PageStartAddress(const SessionState& state) {
    const AdditionalWindow* window = WindowOf(state.ModelCode);
    const auto flashStart = static_cast<std::uint32_t>(HexToIntDef(state.FlashStart));
    switch (state.ReadPageCount) {
        case 1:
            return window != nullptr ? window->base : flashStart;
        case 2:
            return window != nullptr ? flashStart : state.ReadRowAddress;
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
