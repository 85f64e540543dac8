// ImageBlocks: the download blocks cut from a loaded image, the image checksum and the CRC-32 of
// the image they carry.
//
// Download block j (4102 bytes, the wire format the device takes):
//   offset 0     block number j
//   offset 1     address high byte of the block's first data byte (ImageLayout)
//   offset 2     4096 data bytes: image bytes j x 4096 to j x 4096 + 4095
//   offset 4098  block sum: the 32-bit sum of the data bytes, most significant byte first
// Only the image's own blocks (image size / 4096) are written; the rest of the table keeps what
// it held.
//
// Qt-free; pure functions, safe on any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/ImageLayout.h"
#include "shell/SessionState.h"

namespace vortana {

using ImageBlockTable = std::span<std::uint8_t, kImageBlockCount * kImageBlockSize>;

// Writes layout.BlockCount() blocks of `values` (the image, layout.size bytes) into `blocks`.
void BuildImageBlocks(std::span<const std::uint8_t> values, const ImageLayout& layout,
                      ImageBlockTable blocks);

// The CRC-32 (image/Crc32.h) of the image the blocks carry: the data bytes of the first
// imageSize / 4096 blocks, in block order, as they are downloaded.
std::uint32_t ImageBlocksCrc32(
    std::span<const std::uint8_t, kImageBlockCount * kImageBlockSize> blocks,
    std::uint32_t imageSize);

// The sum of the image's byte values.
std::uint32_t ImageCheckSum(std::span<const std::uint8_t> values);

// The checksum label's text: "CheckSum:  0x" and eight upper-case hexadecimal digits.
std::string CheckSumText(std::uint32_t sum);

}  // namespace vortana
