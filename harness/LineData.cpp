#include "harness/LineData.h"

namespace vortana::test {

std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 251 + seed) & 0xFF);
    return bytes;
}

std::vector<std::uint8_t> ReadUntilQuiet(
    const std::function<std::vector<std::uint8_t>(std::chrono::milliseconds)>& readFor,
    std::chrono::milliseconds quiet) {
    std::vector<std::uint8_t> got;
    for (;;) {
        const std::vector<std::uint8_t> more = readFor(quiet);
        if (more.empty())
            return got;
        got.insert(got.end(), more.begin(), more.end());
    }
}

}  // namespace vortana::test
