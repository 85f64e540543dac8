#include "image/ImagePlacement.h"

#include <algorithm>

#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::uint8_t kUnfilledValue = 0xFF;  // what an erased flash byte reads as

}  // namespace

ImagePlacement::ImagePlacement(const ImageLayout& layout)
    : layout_(layout),
      chars_(2 * std::size_t{layout.size}, 'F'),
      values_(layout.size, kUnfilledValue) {}

bool ImagePlacement::Fits(const SRecordHead& head) {
    const std::uint32_t length = head.StoredLength();
    if (length == 0)
        return layout_.AcceptsBareAddress(head.address);
    return layout_.DataIndex(head.address, length).has_value();
}

void ImagePlacement::Store(const SRecordHead& head, std::string_view data) {
    const std::uint32_t length = head.StoredLength();
    const std::optional<std::uint32_t> first = layout_.DataIndex(head.address, length);
    if (length == 0 || !first || data.size() != 2 * std::size_t{length})
        return;  // not data this image accepted: nothing may be written
    std::copy(data.begin(), data.end(), chars_.begin() + 2 * std::size_t{*first});
    for (std::uint32_t k = 0; k < length; ++k)
        values_[*first + k] = static_cast<std::uint8_t>(HexToIntDef(data.substr(2 * k, 2)));
}

void ImagePlacement::CopyTo(std::span<std::string> imageText) const {
    const std::size_t count = std::min<std::size_t>(imageText.size(), layout_.size);
    for (std::size_t i = 0; i < count; ++i) {
        std::string& entry = imageText[i];
        entry.resize(3);  // within the short-string buffer: no allocation
        entry[0] = '$';
        entry[1] = chars_[2 * i];
        entry[2] = chars_[2 * i + 1];
    }
}

}  // namespace vortana
