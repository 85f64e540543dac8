// Test helpers for the simulator: the test's end of its pseudo-terminal, and frames and blocks
// built the way the front end sends them, written here from the wire tables on their own.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/Simulator.h"

namespace vortana::sim::test {

using namespace std::chrono_literals;

// A simulator serving a pseudo-terminal, and the slave end opened raw by the test, as the front
// end opens it.
class SimLine {
  public:
    explicit SimLine(SimConfig config = SimConfig::Immediate());

    Simulator& Sim() { return sim_; }
    const std::string& Path() const { return path_; }

    // Writes all of `bytes`, waiting while the line is full; throws std::runtime_error when the
    // line fails.
    void Send(const Bytes& bytes);
    // The next burst: waits up to `wait` for its first byte, then reads until `gap` passes
    // without one. Empty when nothing came.
    Bytes ReadBurst(std::chrono::milliseconds wait = 3s, std::chrono::milliseconds gap = 100ms);
    // Exactly `count` bytes, or fewer when `wait` passes first.
    Bytes ReadCount(std::size_t count, std::chrono::milliseconds wait = 5s);
    // Sends `frame` and returns the burst that answers it.
    Bytes Ask(const Bytes& frame) {
        Send(frame);
        return ReadBurst();
    }
    // True when nothing at all arrives within `wait`.
    bool StaysQuiet(std::chrono::milliseconds wait = 300ms);
    // Reads until the line fails or ends (after a hang-up); false when it still works after
    // `wait`.
    bool LineEnds(std::chrono::milliseconds wait = 3s);

  private:
    Simulator sim_;
    std::string path_;
    UniqueFd fd_;
};

// 0x68, code, data length, data, 0x16.
Bytes Frame(std::uint8_t code, const Bytes& data = {});
Bytes SettingsFrame(std::uint8_t enables = 0x00);
Bytes HeaderFrame(std::uint8_t sizeK, std::uint8_t model, const Bytes& serial = Bytes(5, 0),
                  std::uint8_t increment = 0);
Bytes ReadOutFrame(std::uint8_t startHigh, std::uint8_t sizeK, std::uint8_t model);

// A download block: number, address high byte, 4096 data bytes, their sum high byte first.
Bytes Block(std::uint8_t number, std::uint8_t addressHigh, const Bytes& data);

// The blocks of an image (sizeK KiB), with the address bytes a model with or without an
// additional window gets.
std::vector<Bytes> ImageBlocks(const Bytes& image, std::uint8_t model, std::uint8_t startHigh);

// An image of `size` bytes that differs from block to block and from byte to byte.
Bytes PatternImage(std::size_t size, std::uint8_t seed = 0);

// The bytes of a 5-byte reply, or a reply with parameters.
Bytes ReplyBytes(std::uint8_t code, std::uint8_t status, const Bytes& parameters = {});

}  // namespace vortana::sim::test
