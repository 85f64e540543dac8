// TestLine on Linux: a pseudo-terminal's master.
#include "harness/Pty.h"
#include "tests/comm/TestLine.h"

namespace vortana::test {

class TestLine::OtherEnd {
  public:
    Pty pty;
};

TestLine::TestLine() : other_(std::make_unique<OtherEnd>()), commName_(other_->pty.SlavePath()) {}

TestLine::~TestLine() = default;

void TestLine::Write(std::span<const std::uint8_t> bytes) {
    other_->pty.Write(bytes);
}

std::vector<std::uint8_t> TestLine::Read(std::size_t count, std::chrono::milliseconds timeout) {
    return other_->pty.Read(count, timeout);
}

}  // namespace vortana::test
