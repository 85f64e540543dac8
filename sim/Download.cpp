#include "sim/Download.h"

#include <algorithm>
#include <numeric>

namespace vortana::sim {
namespace {

constexpr std::size_t kNumberOffset = 0;
constexpr std::size_t kAddressOffset = 1;
constexpr std::size_t kDataOffset = 2;
constexpr std::size_t kSumOffset = kDataOffset + kPageSize;
constexpr int kBlockK = 4;
constexpr int kMaxSizeK = 64;

std::uint32_t ReadSum(std::span<const std::uint8_t> bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::string Hex32(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 0xF];
    return text;
}

}  // namespace

DownloadHeader DownloadHeader::FromData(std::span<const std::uint8_t> data) {
    DownloadHeader header;
    header.sizeK = data[0];
    header.modelCode = data[1];
    std::copy_n(data.begin() + 2, header.serialNumber.size(), header.serialNumber.begin());
    header.increment = data[7];
    return header;
}

std::uint32_t BlockSum(std::span<const std::uint8_t> data) {
    return std::accumulate(data.begin(), data.end(), std::uint32_t{0});
}

Download::Download(const DownloadHeader& header) : header_(header) {
    const ModelInfo* model = FindModel(header.modelCode);
    if (!model) {
        headerProblem_ = "unknown model code " + HexByte(header.modelCode);
        return;
    }
    if (header.sizeK < kBlockK || header.sizeK > kMaxSizeK || header.sizeK % kBlockK != 0) {
        headerProblem_ =
            "image size " + std::to_string(header.sizeK) + " KiB is not 4 to 64 in steps of 4";
        return;
    }
    hasWindow_ = model->window.has_value();
    windowHigh_ = hasWindow_ ? static_cast<std::uint8_t>(*model->window >> 8) : 0;
    blockCount_ = header.sizeK / kBlockK;
}

std::uint8_t Download::ExpectedAddressHigh(int mainIndex) const {
    return static_cast<std::uint8_t>(startHigh_ + 16 * mainIndex);
}

std::string Download::Accept(std::span<const std::uint8_t> block) {
    if (!headerProblem_.empty())
        return "the download header was refused: " + headerProblem_;
    if (Complete())
        return "the download is already complete";
    const int number = NextBlock();
    if (block[kNumberOffset] != number)
        return "block number " + std::to_string(block[kNumberOffset]) + " where " +
               std::to_string(number) + " was asked for";

    const std::uint8_t address = block[kAddressOffset];
    const int mainIndex = hasWindow_ ? number - 1 : number;
    if (mainIndex < 0) {
        if (address != windowHigh_)
            return "address byte " + HexByte(address) + " where the window's " +
                   HexByte(windowHigh_) + " belongs";
    } else if (mainIndex == 0) {
        startHigh_ = address;
    } else if (address != ExpectedAddressHigh(mainIndex)) {
        return "address byte " + HexByte(address) + " where " +
               HexByte(ExpectedAddressHigh(mainIndex)) + " belongs";
    }

    const auto data = block.subspan(kDataOffset, kPageSize);
    const std::uint32_t sent = ReadSum(block.subspan(kSumOffset, 4));
    const std::uint32_t computed = BlockSum(data);
    if (sent != computed)
        return "block sum " + Hex32(sent) + " where the data add up to " + Hex32(computed);

    ImageBlock kept;
    kept.address = static_cast<std::uint16_t>(address << 8);
    std::copy(data.begin(), data.end(), kept.data.begin());
    image_.push_back(kept);
    return {};
}

}  // namespace vortana::sim
