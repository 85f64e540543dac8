// Test data for the serial-link tests, and reading a line until it falls quiet.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vortana::test {

// A byte pattern that shows where a piece went missing or came twice.
std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed = 0);

// Calls `readFor` (which returns what arrived within the period it is given, at most all that
// came) until a call brings nothing; returns everything joined.
std::vector<std::uint8_t> ReadUntilQuiet(
    const std::function<std::vector<std::uint8_t>(std::chrono::milliseconds)>& readFor,
    std::chrono::milliseconds quiet);

}  // namespace vortana::test
