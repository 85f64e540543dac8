// Command frames sent to the programmer device, byte for byte.
//
// Every frame is 0x68, the command code, the data length n, n data bytes, 0x16: no checksum,
// no escaping, no sequence number. The 4102-byte image block is not a frame of this kind; it is
// sent as the loader built it in SessionState::ImageBlocks.
//
// Hexadecimal text fields (FlashStartHigh, the digits of ModelCode) are read with default 0, so a
// bad text sends 0x00 and reports nothing. Only the burn count is read strictly: SetCmd raises
// EConvertError before anything is built. Qt-free; call from any thread that owns the state.
#pragma once

#include "shell/SessionState.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vortana {

inline constexpr std::uint8_t kFrameStart = 0x68;
inline constexpr std::uint8_t kFrameEnd = 0x16;

enum class Command : std::uint8_t {
    LoadCmd,
    EraseCmd,
    WriteCmd,
    CheckCmd,
    ReadCmd,
    EPCCmd,
    SetCmd
};

struct CommandInfo {
    Command command;
    std::uint8_t code;
    std::uint8_t dataLength;
};

// clang-format off
inline constexpr std::array<CommandInfo, 7> kCommandTable{{
    // command            code  n    data bytes
    {Command::LoadCmd,    0x00, 8},  // image KiB, model code, five serial bytes, increment
    {Command::EraseCmd,   0x01, 0},
    {Command::WriteCmd,   0x02, 0},
    {Command::CheckCmd,   0x03, 0},
    {Command::ReadCmd,    0x04, 3},  // start-address high byte, size KiB, model code
    {Command::EPCCmd,     0x05, 0},
    {Command::SetCmd,     0x06, 5},  // mode, supply, burn count (two bytes), erase/verify flags
}};
// clang-format on

using Frame = std::vector<std::uint8_t>;

// Item indexes of the settings radio groups (-1 when no item is selected) and the text of the
// burn-count box, as the main window reads them at the click.
struct SettingsControls {
    int RadioGroup1 = 0;  // 烧写方式: 0 online, 1 offline
    int RadioGroup2 = 0;  // 供电方式: 0 5 V, 1 3.3 V
    int RadioGroup4 = 0;  // 擦除使能: 0 yes, 1 no
    int RadioGroup5 = 0;  // 校验使能: 0 yes, 1 no
    std::string Edit4;    // burn count, decimal 0 to 9999
};

// One of the four commands without data (EraseCmd, WriteCmd, CheckCmd, EPCCmd): 68 code 00 16.
Frame BareFrame(Command command);

// The 9-byte settings frame. Throws EConvertError ("'<text>' is not a valid integer value") when
// Edit4 holds no whole number from 0 to 9999: a negative count or one of five digits has no
// four-digit packed-decimal form, so it is refused like a text that is no number at all.
Frame SetCmd(const SettingsControls& controls);

// The 7-byte read-out frame from FlashStartHigh, ImageSize and ModelCode.
Frame ReadCmd(const SessionState& state);

// The 12-byte download header from ImageSize, ModelCode, SerialNumberBytes, SerialIncrement.
Frame LoadCmd(const SessionState& state);

}  // namespace vortana
