// One download as the device takes it: the 8-byte header, then the raw blocks in order, each
// checked for its number, its address high byte and its sum before the next is asked for.
//
// Block layout: number, address high byte, 4096 data bytes, the 32-bit sum of the data bytes
// (most significant byte first). For a model with an additional window, block 0 carries the
// window (address byte 0x10 or 0xB0) and the main flash follows from block 1; otherwise the
// main flash starts at block 0. The first main-flash block tells where the main flash starts,
// and every later block runs on from there by 16 (4 KiB), modulo 256.
//
// Qt-free; one thread at a time.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/Wire.h"

namespace vortana::sim {

struct DownloadHeader {
    std::uint8_t sizeK = 0;  // image size in KiB, the additional window included
    std::uint8_t modelCode = 0;
    std::array<std::uint8_t, 5> serialNumber{};  // five pairs of decimal digits, lowest first
    std::uint8_t increment = 0;

    static DownloadHeader FromData(std::span<const std::uint8_t> data);  // the 8 data bytes
};

// A block of the image as it lands in the chip: the address of its first byte and its data.
struct ImageBlock {
    std::uint16_t address = 0;
    std::array<std::uint8_t, kPageSize> data{};
};
using Image = std::vector<ImageBlock>;

// The 32-bit sum of a block's data bytes.
std::uint32_t BlockSum(std::span<const std::uint8_t> data);

class Download {
  public:
    explicit Download(const DownloadHeader& header);

    const DownloadHeader& Header() const { return header_; }
    // Why the device cannot take this download ("" when it can): every block is then refused.
    const std::string& HeaderProblem() const { return headerProblem_; }
    int BlockCount() const { return blockCount_; }
    int NextBlock() const { return static_cast<int>(image_.size()); }
    bool Complete() const { return headerProblem_.empty() && NextBlock() == blockCount_; }

    // Checks `block` (kBlockSize bytes) against the block expected next and keeps it when it is
    // good. Returns what is wrong with it, or "" when it is good.
    std::string Accept(std::span<const std::uint8_t> block);

    // The image received so far, in block order.
    const Image& Received() const { return image_; }

    // The length the device reports when the download ends well: image size / 16.
    std::uint16_t ReportedLength() const { return static_cast<std::uint16_t>(header_.sizeK * 64); }

  private:
    std::uint8_t ExpectedAddressHigh(int mainIndex) const;

    DownloadHeader header_;
    std::string headerProblem_;
    bool hasWindow_ = false;
    std::uint8_t windowHigh_ = 0;
    std::uint8_t startHigh_ = 0;  // learned from the first main-flash block
    int blockCount_ = 0;
    Image image_;
};

}  // namespace vortana::sim
