// SessionState: the one program-wide set of variables through which the main window's handlers,
// the reply dispatcher, the timers and the dialogs pass data to each other.
//
// The program makes exactly one instance, zero-filled, before the first window is created, and
// hands a reference to every window and component that reads or writes it. Only the
// user-interface thread touches it; there are no accessors, copies or locks. Values are never
// cleared between operations: a later handler may rely on what an earlier one left behind.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vortana {

// The unit the device works in: the image bytes one download block carries, the bytes of one
// read-out page, and the step of image sizes.
inline constexpr std::uint32_t kPageBytes = 4096;
inline constexpr std::size_t kImageTextEntries = 65536;  // room for a 64 KiB image
inline constexpr std::size_t kImageBlockCount = 16;      // 16 blocks of kPageBytes
inline constexpr std::size_t kImageBlockSize = 4102;     // number, address byte, data, 32-bit sum
static_assert(kImageBlockSize == 1 + 1 + kPageBytes + 4);
inline constexpr std::size_t kReplyBufferSize = 65536;  // one receive event brings at most 65535

struct SessionState {
    SessionState() = default;
    SessionState(const SessionState&) = delete;
    SessionState& operator=(const SessionState&) = delete;

    // Program location: the executable's directory, ending in a path separator.
    std::string ExeDir;

    // Chosen model, from the catalogue line the user picked.
    std::string ModelName;      // columns 4 to 18
    std::string FlashStart;     // columns 25 to 28, four hexadecimal digits
    std::string FlashEnd;       // columns 32 to 35, four hexadecimal digits
    std::string FlashSizeText;  // columns 45 to 48, digits followed by "K"
    std::string ModelCode;      // columns 55 to 58: "0x00", "0x10", "0x14", "0xB0" or "0xB2"
    std::string FlashSizeK;     // image size in KiB as decimal digits (additional window included)
    std::uint32_t ImageSize = 0;  // FlashSizeK x 1024

    // Loaded image: one "$hh" text per byte; only the first ImageSize entries belong to it.
    std::array<std::string, kImageTextEntries> ImageText;
    // Download blocks; block n starts n x kImageBlockSize bytes into the table.
    std::array<std::uint8_t, kImageBlockCount * kImageBlockSize> ImageBlocks{};
    std::int32_t BlockSum = 0;  // work value of the loader

    // Operation awaiting a reply (1 settings ... 7 download; 0 before the first command) and
    // the bytes of the last receive event, copied to the start of ReplyBuffer.
    std::uint8_t CmdKind = 0;
    std::array<std::uint8_t, kReplyBufferSize> ReplyBuffer{};
    std::uint8_t ReadPageCount = 0;    // read-out pages received since the read-out started
    std::uint32_t ReadRowAddress = 0;  // address printed on the next read-out row
    std::string FlashStartHigh;        // first two digits of FlashStart, taken at read-out

    // Progress and elapsed time.
    std::uint32_t ProgressPercent = 0;
    std::uint32_t ElapsedTicks = 0;  // 100 ms ticks since the operation started
    std::uint32_t ElapsedSeconds = 0;
    std::uint32_t ElapsedTenths = 0;

    // Serial number written by the device into each chip in offline mode.
    std::int64_t SerialNumberStart = 0;               // work value of the dialog's OK handler
    std::array<std::uint8_t, 5> SerialNumberBytes{};  // base-100 digits, least significant first
    std::uint8_t SerialIncrement = 0;                 // 0 to 9
};

// CmdKind values: the operation whose reply is awaited.
enum CmdKindValue : std::uint8_t {
    kCmdNone = 0,
    kCmdSettings = 1,  // SetCmd, Button8Click
    kCmdErase = 2,     // EraseCmd, Button3Click
    kCmdProgram = 3,   // WriteCmd, Button4Click
    kCmdVerify = 4,    // CheckCmd, Button5Click
    kCmdReadOut = 5,   // ReadCmd, Button7Click
    kCmdEpc = 6,       // EPCCmd, Button6Click
    kCmdDownload = 7,  // LoadCmd then image blocks, Button2Click
};

}  // namespace vortana
