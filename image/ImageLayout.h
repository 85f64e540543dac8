// ImageLayout: how the chosen model maps file addresses onto the image, and which addresses the
// image's download blocks and listing rows carry.
//
// The loader works with the model code as a number (characters 3 and 4 of ModelCode read as
// hexadecimal), not with its text, so "0xb0" behaves as 0xB0 here. The start value is FlashStart
// read as hexadecimal, the start high byte its first two characters read the same way; a text
// that is not hexadecimal counts as 0. A model with an additional window holds the window at
// image indexes 0 to 4095 and its main flash from index 4096 on.
//
// Qt-free; a value type, safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "image/HexRow.h"
#include "shell/SessionState.h"

namespace vortana {

inline constexpr std::uint32_t kRowsPerPage = kPageBytes / kHexRowBytes;  // 256

// The address of the first byte of page `page` (0 for the first, kPageBytes each) of a model's
// image: the additional window first when `windowBase` is not 0, then the main flash from
// `start` on, page after page. Unsigned 32-bit arithmetic.
std::uint32_t PageAddress(std::uint32_t windowBase, std::uint32_t start, std::uint32_t page);

struct ImageLayout {
    std::uint8_t code = 0;         // model code byte
    std::uint32_t start = 0;       // start value: first address of the main flash
    std::uint8_t startHigh = 0;    // start high byte
    std::uint32_t size = 0;        // image size in bytes, 4096 to 65536 in 4 KiB steps
    std::uint32_t windowBase = 0;  // first address of the additional window; 0 when none

    // The layout of a model, or nullopt when its code byte is none of the five or its image
    // size is one the image tables cannot hold.
    static std::optional<ImageLayout> FromModel(std::string_view flashStart,
                                                std::string_view modelCode,
                                                std::uint32_t imageSize);

    bool HasWindow() const { return windowBase != 0; }
    std::uint32_t BlockCount() const { return size / kPageBytes; }
    std::uint32_t RowCount() const { return size / kHexRowBytes; }

    // Image index of `length` (at least 1) data bytes from `address` on, when every one of
    // them lands at an image position that holds its own address: inside the image, and not
    // below the start value outside the additional window. Data may run from the window
    // straight into the main flash where the start value directly follows the window.
    // Otherwise nullopt: the file does not fit the model.
    std::optional<std::uint32_t> DataIndex(std::uint32_t address, std::uint32_t length) const;

    // Whether a record that stores no data may carry `address`: refused only when the address
    // maps below the start of the image, and address 0 is always let through (header and end
    // records carry it whatever the model).
    bool AcceptsBareAddress(std::uint32_t address) const;

    // Address high byte of download block `block` (modulo 256).
    std::uint8_t BlockAddressHigh(std::uint32_t block) const;

    // Address printed at the head of listing row `row`: the window's addresses for its 256
    // rows, then the main flash from the start value on.
    std::uint32_t RowAddress(std::uint32_t row) const;

  private:
    // Image index of a single address, negative when it maps below the image.
    std::int64_t IndexOf(std::uint32_t address) const;
    // The address image position `index` holds.
    std::uint32_t AddressAt(std::uint32_t index) const;
};

}  // namespace vortana
