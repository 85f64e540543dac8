// The device's side of the serial line: start and end bytes, the command codes with their data
// lengths, the statuses, the model codes, and the layout of a reply. Written from the device's
// point of view and used by nothing outside sim/, so that a fault on either side of the line
// shows up as a disagreement between the two.
// Qt-free; constants and pure functions, safe on any thread.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vortana::sim {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kStartByte = 0x68;
inline constexpr std::uint8_t kEndByte = 0x16;

inline constexpr std::size_t kMemorySize = 65536;             // the chip's whole address space
inline constexpr std::size_t kPageSize = 4096;                // one read-out page, one block's data
inline constexpr std::size_t kBlockSize = 2 + kPageSize + 4;  // number, address, data, sum

namespace code {
inline constexpr std::uint8_t kDownload = 0x00;
inline constexpr std::uint8_t kErase = 0x01;
inline constexpr std::uint8_t kProgram = 0x02;
inline constexpr std::uint8_t kVerify = 0x03;
inline constexpr std::uint8_t kReadOut = 0x04;
inline constexpr std::uint8_t kEraseProgramVerify = 0x05;
inline constexpr std::uint8_t kSettings = 0x06;
}  // namespace code

namespace status {
inline constexpr std::uint8_t kSuccess = 0x99;
inline constexpr std::uint8_t kFailure = 0x00;
inline constexpr std::uint8_t kReadProtected = 0x11;
inline constexpr std::uint8_t kMismatch = 0xEE;
inline constexpr std::uint8_t kBlockRequest = 0x55;
}  // namespace status

struct CommandInfo {
    std::uint8_t code;
    std::uint8_t dataLength;  // the only length the device takes for this code
    const char* name;
};

// code, data length, name
inline constexpr std::array<CommandInfo, 7> kCommands{{
    {code::kDownload, 8, "download header"},
    {code::kErase, 0, "erase"},
    {code::kProgram, 0, "program"},
    {code::kVerify, 0, "verify"},
    {code::kReadOut, 3, "read-out"},
    {code::kEraseProgramVerify, 0, "erase+program+verify"},
    {code::kSettings, 5, "settings"},
}};

// The command with this code, or nullptr.
const CommandInfo* FindCommand(std::uint8_t code);

// "success", "failure", ... or "status 0xNN" for a byte that is no status.
std::string StatusName(std::uint8_t status);

// The model codes the device knows. Chips with an additional 4 KiB window take it as the first
// block of a download and send it as the first page of a read-out.
struct ModelInfo {
    std::uint8_t code;
    std::optional<std::uint16_t> window;  // base address of the additional window
};

// code, additional window
inline constexpr std::array<ModelInfo, 5> kModels{{
    {0x00, std::nullopt},
    {0x10, 0x1000},
    {0x14, 0x1000},
    {0xB0, 0xB000},
    {0xB2, 0xB000},
}};

const ModelInfo* FindModel(std::uint8_t code);

// A reply: 0x68, the command code, the count of bytes from the status up to and including the
// end byte, the status, the parameters, 0x16. Without parameters it is 5 bytes long.
Bytes Reply(std::uint8_t code, std::uint8_t status, std::span<const std::uint8_t> parameters = {});

// Bytes as "68 06 02 99 16"; past `limit` bytes the rest is summed up as " ... (N bytes)".
std::string HexBytes(std::span<const std::uint8_t> bytes, std::size_t limit = 24);

// "0x" and two upper-case hexadecimal digits.
std::string HexByte(std::uint8_t byte);

}  // namespace vortana::sim
