#include "image/ImageBlocks.h"

#include <algorithm>
#include <numeric>

#include "image/Crc32.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::size_t kNumberOffset = 0;
constexpr std::size_t kAddressOffset = 1;
constexpr std::size_t kDataOffset = 2;
constexpr std::size_t kSumOffset = kDataOffset + kPageBytes;
static_assert(kSumOffset + 4 == kImageBlockSize);

}  // namespace

void BuildImageBlocks(std::span<const std::uint8_t> values, const ImageLayout& layout,
                      ImageBlockTable blocks) {
    const std::uint32_t count =
        std::min<std::uint32_t>(layout.BlockCount(), values.size() / kPageBytes);
    for (std::uint32_t j = 0; j < count && j < kImageBlockCount; ++j) {
        const auto data = values.subspan(std::size_t{j} * kPageBytes, kPageBytes);
        const auto block = blocks.subspan(std::size_t{j} * kImageBlockSize, kImageBlockSize);
        block[kNumberOffset] = static_cast<std::uint8_t>(j);
        block[kAddressOffset] = layout.BlockAddressHigh(j);
        std::ranges::copy(data, block.begin() + kDataOffset);
        const std::uint32_t sum = ImageCheckSum(data);
        for (std::size_t i = 0; i < 4; ++i)
            block[kSumOffset + i] = static_cast<std::uint8_t>(sum >> (8 * (3 - i)));
    }
}

std::uint32_t ImageBlocksCrc32(
    std::span<const std::uint8_t, kImageBlockCount * kImageBlockSize> blocks,
    std::uint32_t imageSize) {
    const std::size_t count = std::min<std::size_t>(imageSize / kPageBytes, kImageBlockCount);
    std::uint32_t crc = 0;
    for (std::size_t j = 0; j < count; ++j)
        crc = Crc32Extend(crc, blocks.subspan(j * kImageBlockSize + kDataOffset, kPageBytes));
    return crc;
}

std::uint32_t ImageCheckSum(std::span<const std::uint8_t> values) {
    return std::accumulate(values.begin(), values.end(), std::uint32_t{0});
}

std::string CheckSumText(std::uint32_t sum) {
    return "CheckSum:  0x" + IntToHex(sum, 8);
}

}  // namespace vortana
