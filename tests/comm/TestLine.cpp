#include "tests/comm/TestLine.h"

namespace vortana::test {

void TestLine::Write(const std::string& text) {
    Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::vector<std::uint8_t> TestLine::ReadUntilQuiet(std::chrono::milliseconds quiet) {
    return test::ReadUntilQuiet(
        [this](std::chrono::milliseconds period) { return Read(1 << 20, period); }, quiet);
}

}  // namespace vortana::test
