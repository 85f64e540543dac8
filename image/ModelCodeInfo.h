// The five model codes a catalogue line may carry, and the image sizes the tables can hold.
//
// A model code says whether the chip has, besides its main flash, a 4 KiB additional window at a
// fixed address. Where it has one, the image holds the window first (image offsets 0 to 4095)
// and the main flash after it. Codes 0x10 and 0x14, and codes 0xB0 and 0xB2, differ only in the
// byte passed to the device. Qt-free; constant data, safe on any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "shell/SessionState.h"

namespace vortana {

inline constexpr std::uint32_t kWindowSize = 4096;     // the additional window
inline constexpr std::uint32_t kImageSizeMax = 65536;  // the image tables' room
inline constexpr std::uint32_t kBytesPerK = 1024;

struct ModelCodeInfo {
    std::string_view text;         // as the catalogue writes it, case significant
    std::uint8_t byte;             // the code byte the device and the loader work with
    std::uint32_t windowBase;      // first address of the additional window; 0 when there is none
    std::string_view edit2Prefix;  // address box text in front of the main flash range
};

// code text, code byte, additional window base, address box prefix
inline constexpr ModelCodeInfo kModelCodes[] = {
    {"0x00", 0x00, 0x0000, ""},           {"0x10", 0x10, 0x1000, "1000-1FFF+"},
    {"0x14", 0x14, 0x1000, "1000-1FFF+"}, {"0xB0", 0xB0, 0xB000, "B000-BFFF+"},
    {"0xB2", 0xB2, 0xB000, "B000-BFFF+"},
};

// Characters 3 and 4 of a model code text ("0xB2" gives 0xB2) read as a hexadecimal byte, 0
// when they are not hexadecimal digits: the byte the device and the loader work with.
std::uint8_t ModelCodeByte(std::string_view modelCode);

// The code whose text is exactly `text`, or nullptr.
const ModelCodeInfo* FindModelCode(std::string_view text);
// The code whose byte is `byte`, or nullptr.
const ModelCodeInfo* FindModelCode(std::uint8_t byte);

// The base of the additional window of the model whose code text is `modelCode`, read as its
// code byte (ModelCodeByte, the byte the device is sent); 0 when that byte names no model with
// a window.
std::uint32_t WindowBaseOf(std::string_view modelCode);

// An image size the tables can hold: 4096 to 65536 bytes in whole 4 KiB blocks.
constexpr bool IsValidImageSize(std::int64_t size) {
    return size >= kPageBytes && size <= kImageSizeMax && size % kPageBytes == 0;
}

}  // namespace vortana
