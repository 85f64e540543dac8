#include "image/ImageLayout.h"

#include "image/ModelCodeInfo.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::uint32_t kBlockAddressStep = kPageBytes >> 8;  // high byte step per block

// Characters `first` and the next `count` of `text`, as far as they exist.
std::string_view Chars(std::string_view text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string_view{};
}

}  // namespace

std::uint32_t PageAddress(std::uint32_t windowBase, std::uint32_t start, std::uint32_t page) {
    if (windowBase == 0)
        return start + kPageBytes * page;
    return page == 0 ? windowBase : start + kPageBytes * (page - 1);
}

std::optional<ImageLayout> ImageLayout::FromModel(std::string_view flashStart,
                                                  std::string_view modelCode,
                                                  std::uint32_t imageSize) {
    const std::uint8_t codeByte = ModelCodeByte(modelCode);
    const ModelCodeInfo* code = FindModelCode(codeByte);
    if (code == nullptr || !IsValidImageSize(imageSize))
        return std::nullopt;
    ImageLayout layout;
    layout.code = codeByte;
    layout.start = static_cast<std::uint32_t>(HexToIntDef(flashStart));
    layout.startHigh = static_cast<std::uint8_t>(HexToIntDef(Chars(flashStart, 0, 2)));
    layout.size = imageSize;
    layout.windowBase = code->windowBase;
    return layout;
}

std::int64_t ImageLayout::IndexOf(std::uint32_t address) const {
    const std::int64_t a = address;
    if (!HasWindow())
        return a - start;
    return a >= start ? a - start + kWindowSize : a - windowBase;
}

std::uint32_t ImageLayout::AddressAt(std::uint32_t index) const {
    if (!HasWindow())
        return start + index;
    return index < kWindowSize ? windowBase + index : start + index - kWindowSize;
}

std::optional<std::uint32_t> ImageLayout::DataIndex(std::uint32_t address,
                                                    std::uint32_t length) const {
    const std::int64_t index = IndexOf(address);
    if (index < 0 || index + length > size)
        return std::nullopt;
    // Image positions hold rising addresses with at most one jump, at the window's end, so the
    // run holds its own addresses exactly when its first and last byte do.
    const auto first = static_cast<std::uint32_t>(index);
    const std::uint32_t last = first + length - 1;
    if (AddressAt(first) != address || AddressAt(last) != address + length - 1)
        return std::nullopt;
    return first;
}

bool ImageLayout::AcceptsBareAddress(std::uint32_t address) const {
    return address == 0 || IndexOf(address) >= 0;
}

std::uint8_t ImageLayout::BlockAddressHigh(std::uint32_t block) const {
    if (!HasWindow())
        return static_cast<std::uint8_t>(startHigh + kBlockAddressStep * block);
    if (block == 0)
        return static_cast<std::uint8_t>(windowBase >> 8);
    return static_cast<std::uint8_t>(startHigh + kBlockAddressStep * (block - 1));
}

std::uint32_t ImageLayout::RowAddress(std::uint32_t row) const {
    return PageAddress(windowBase, start, row / kRowsPerPage) + kHexRowBytes * (row % kRowsPerPage);
}

}  // namespace vortana
