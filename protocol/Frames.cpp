#include "protocol/Frames.h"

#include "image/ModelCodeInfo.h"

#include "shell/Convert.h"

#include <algorithm>
#include <cassert>
#include <string_view>

namespace vortana {
namespace {

constexpr std::uint8_t kModeOnline = 0x55;
constexpr std::uint8_t kModeOffline = 0xAA;
constexpr std::uint8_t kSupply5V = 0x50;
constexpr std::uint8_t kSupply3V3 = 0x33;
constexpr std::uint8_t kSupplyNone = 0x00;
constexpr std::uint8_t kSwitchedOffNibble = 0x5;  // erase or verify switched off
constexpr int kItemYes = 0;                       // item order of the two enable groups
constexpr int kItemNo = 1;
constexpr int kMaxBurnCount = 9999;  // four packed-decimal digits
constexpr std::uint32_t kBytesPerKiB = 1024;
constexpr std::size_t kEnvelopeBytes = 4;  // start, code, length, end

const CommandInfo& Info(Command command) {
    const auto* info =
        std::find_if(kCommandTable.begin(), kCommandTable.end(),
                     [command](const CommandInfo& c) { return c.command == command; });
    assert(info != kCommandTable.end());
    return *info;
}

Frame Envelope(Command command, std::initializer_list<std::uint8_t> data) {
    const CommandInfo& info = Info(command);
    assert(data.size() == info.dataLength);
    Frame frame;
    frame.reserve(kEnvelopeBytes + data.size());
    for (std::uint8_t byte : {kFrameStart, info.code, info.dataLength})
        frame.push_back(byte);
    for (std::uint8_t byte : data)
        frame.push_back(byte);
    frame.push_back(kFrameEnd);
    return frame;
}

std::uint8_t HexByte(std::string_view text) {
    return static_cast<std::uint8_t>(HexToIntDef(text));
}

std::uint8_t SizeKiB(const SessionState& state) {
    return static_cast<std::uint8_t>(state.ImageSize / kBytesPerKiB);
}

std::uint8_t PackedPair(int high, int low) {
    return static_cast<std::uint8_t>(high * 16 + low);
}

// Byte 7: high nibble for erase, low nibble for verify, each 5 when switched off. With no erase
// item selected the device gets 0x00 whatever the verify group says.
std::uint8_t EraseVerifyFlags(int eraseItem, int verifyItem) {
    if (eraseItem != kItemYes && eraseItem != kItemNo)
        return 0x00;
    const int high = eraseItem == kItemNo ? kSwitchedOffNibble : 0;
    const int low = verifyItem == kItemNo ? kSwitchedOffNibble : 0;
    return PackedPair(high, low);
}

std::uint8_t Supply(int item) {
    switch (item) {
        case 0:
            return kSupply5V;
        case 1:
            return kSupply3V3;
        default:
            return kSupplyNone;
    }
}

int BurnCount(const std::string& text) {
    const std::int32_t count = StrToInt(text);
    if (count < 0 || count > kMaxBurnCount)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return count;
}

}  // namespace

Frame BareFrame(Command command) {
    return Envelope(command, {});
}

Frame SetCmd(const SettingsControls& controls) {
    const int v = BurnCount(controls.Edit4);
    return Envelope(
        Command::SetCmd,
        {controls.RadioGroup1 == 0 ? kModeOnline : kModeOffline, Supply(controls.RadioGroup2),
         PackedPair(v / 1000, v / 100 % 10), PackedPair(v / 10 % 10, v % 10),
         EraseVerifyFlags(controls.RadioGroup4, controls.RadioGroup5)});
}

Frame ReadCmd(const SessionState& state) {
    return Envelope(Command::ReadCmd, {HexByte(state.FlashStartHigh), SizeKiB(state),
                                       ModelCodeByte(state.ModelCode)});
}

Frame LoadCmd(const SessionState& state) {
    const auto& serial = state.SerialNumberBytes;
    return Envelope(Command::LoadCmd,
                    {SizeKiB(state), ModelCodeByte(state.ModelCode), serial[0], serial[1],
                     serial[2], serial[3], serial[4], state.SerialIncrement});
}

}  // namespace vortana
