// The target chip behind the device: a 64 KiB address space of flash and a read-protect flag.
//
// Erasing sets every byte to 0xFF and lifts the read protection (a full erase is how such a
// chip is unlocked). Programming can only clear bits, as flash does: a byte programmed over
// something other than 0xFF ends up as the AND of the two, which a verify then reports. Read
// protection stops reading (verify and read-out), not erasing or programming. Addresses wrap
// at 64 KiB.
//
// Qt-free; a value type, one thread at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/Download.h"
#include "sim/Wire.h"

namespace vortana::sim {

// The first byte where the chip differs from the image.
struct Mismatch {
    std::uint16_t address;
    std::uint8_t written;  // the image's byte
    std::uint8_t read;     // the chip's byte
};

class Chip {
  public:
    Chip() : memory_(kMemorySize, 0xFF) {}

    bool ReadProtected() const { return readProtected_; }
    void SetReadProtected(bool on) { readProtected_ = on; }

    // Puts `bytes` (at most 64 KiB) into the chip from address 0000, as if programmed there.
    void Fill(std::span<const std::uint8_t> bytes);

    void Erase();
    void Program(const Image& image);
    std::optional<Mismatch> Verify(const Image& image) const;

    // `length` bytes from `address` on, wrapping at 64 KiB.
    Bytes Read(std::uint16_t address, std::size_t length) const;

    std::span<const std::uint8_t> Memory() const { return memory_; }

  private:
    Bytes memory_;
    bool readProtected_ = false;
};

}  // namespace vortana::sim
