// A serial line for the component's tests on any system: the component opens CommName(), the
// test plays the other end.
//   - Linux: a pseudo-terminal; the component opens the slave, the test holds the master.
//   - Windows: a null-modem pair of COM ports named by VORTANA_TEST_COM_PAIR ("COM7:COM8"),
//     the component opening the first, the test the second: com0com's pairs on Windows; under
//     Wine two dosdevices links to two pseudo-terminals that socat joins.
// Where the system offers no line (Windows without the variable), Available() is false and the
// tests skip. Owner's thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "harness/LineData.h"

namespace vortana::test {

using namespace std::chrono_literals;

class TestLine {
  public:
    TestLine();  // throws std::runtime_error when a line is offered but cannot be made
    ~TestLine();

    bool Available() const { return other_ != nullptr; }
    const std::string& CommName() const { return commName_; }
    // Writes all of `bytes` at the other end, waiting while the line is full.
    void Write(std::span<const std::uint8_t> bytes);
    void Write(const std::string& text);
    // Reads at the other end until `count` bytes came or `timeout` passed; returns what came.
    std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds timeout = 5s);
    // Reads whatever arrives until nothing more came for `quiet`.
    std::vector<std::uint8_t> ReadUntilQuiet(std::chrono::milliseconds quiet = 300ms);

  private:
    class OtherEnd;  // the system's own, in posix/ or win32/
    std::unique_ptr<OtherEnd> other_;
    std::string commName_;
};

}  // namespace vortana::test
