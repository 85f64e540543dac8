#include "sim/Chip.h"

#include <algorithm>

namespace vortana::sim {
namespace {

std::uint16_t At(std::uint16_t base, std::size_t offset) {
    return static_cast<std::uint16_t>(base + offset);
}

}  // namespace

void Chip::Fill(std::span<const std::uint8_t> bytes) {
    std::copy_n(bytes.begin(), std::min(bytes.size(), memory_.size()), memory_.begin());
}

void Chip::Erase() {
    std::fill(memory_.begin(), memory_.end(), 0xFF);
    readProtected_ = false;
}

void Chip::Program(const Image& image) {
    for (const ImageBlock& block : image)
        for (std::size_t i = 0; i < block.data.size(); ++i)
            memory_[At(block.address, i)] &= block.data[i];
}

std::optional<Mismatch> Chip::Verify(const Image& image) const {
    for (const ImageBlock& block : image) {
        for (std::size_t i = 0; i < block.data.size(); ++i) {
            const std::uint16_t address = At(block.address, i);
            if (memory_[address] != block.data[i])
                return Mismatch{address, block.data[i], memory_[address]};
        }
    }
    return std::nullopt;
}

Bytes Chip::Read(std::uint16_t address, std::size_t length) const {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = memory_[At(address, i)];
    return bytes;
}

}  // namespace vortana::sim
