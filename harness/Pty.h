// A pseudo-terminal pair for serial-link tests: the component opens the slave by its path, the
// test plays the other end on the master. Both sides raw (a canonical pty drops bytes past 4095
// a line). The test keeps a slave descriptor of its own, to look at the line's termios.
#pragma once

#include <termios.h>

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/UniqueFd.h"
#include "harness/LineData.h"

namespace vortana::test {

using namespace std::chrono_literals;

class Pty {
  public:
    Pty();

    const std::string& SlavePath() const { return slavePath_; }
    // Writes all of `bytes` to the master, waiting while the line is full.
    void Write(std::span<const std::uint8_t> bytes);
    void Write(const std::string& text);
    // Reads from the master until `count` bytes came or `timeout` passed; returns what came.
    std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds timeout = 5s);
    // Reads whatever arrives until nothing more came for `quiet`.
    std::vector<std::uint8_t> ReadUntilQuiet(std::chrono::milliseconds quiet = 300ms);
    // The line's settings as the slave side has them, and a way to change them behind the
    // component's back.
    termios SlaveSettings() const;
    void SetSlaveSettings(const termios& settings);
    // The other end hangs up.
    void CloseMaster();

  private:
    UniqueFd master_;
    UniqueFd slave_;
    std::string slavePath_;
};

}  // namespace vortana::test
