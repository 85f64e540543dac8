#include "comm/LineSettings.h"

namespace vortana {
namespace {

constexpr std::uint32_t kBinary = 0x0001;
constexpr std::uint32_t kParity = 0x0002;
constexpr std::uint32_t kOutxCtsFlow = 0x0004;
constexpr std::uint32_t kOutxDsrFlow = 0x0008;
constexpr std::uint32_t kDsrSensitivity = 0x0040;
constexpr std::uint32_t kTxContinueOnXoff = 0x0080;
constexpr std::uint32_t kOutX = 0x0100;
constexpr std::uint32_t kInX = 0x0200;
constexpr std::uint32_t kErrorChar = 0x0400;
constexpr std::uint32_t kNull = 0x0800;

// The two-bit DTR and RTS control fields, indexed by the enumerations' ordinals.
constexpr std::uint32_t kDtrControlBits[] = {
    0x0010,  // DtrEnable: DTR_CONTROL_ENABLE
    0x0000,  // DtrDisable: DTR_CONTROL_DISABLE
    0x0020,  // DtrHandshake: DTR_CONTROL_HANDSHAKE
};
constexpr std::uint32_t kRtsControlBits[] = {
    0x1000,  // RtsEnable: RTS_CONTROL_ENABLE
    0x0000,  // RtsDisable: RTS_CONTROL_DISABLE
    0x2000,  // RtsHandshake: RTS_CONTROL_HANDSHAKE
    0x3000,  // RtsTransmissionAvailable: RTS_CONTROL_TOGGLE
};

template <std::size_t N, typename Enum>
std::uint32_t FieldBits(const std::uint32_t (&table)[N], Enum value) {
    const auto ordinal = static_cast<std::size_t>(value);
    return ordinal < N ? table[ordinal] : 0;  // a value outside the enumeration adds nothing
}

}  // namespace

std::uint32_t DcbFlags(const LineSettings& s) {
    const struct {
        bool on;
        std::uint32_t bit;
    } flags[] = {
        {s.ParityCheck, kParity},
        {s.Outx_CtsFlow, kOutxCtsFlow},
        {s.Outx_DsrFlow, kOutxDsrFlow},
        {s.DsrSensitivity, kDsrSensitivity},
        {s.TxContinueOnXoff, kTxContinueOnXoff},
        {s.Outx_XonXoffFlow, kOutX},
        {s.Inx_XonXoffFlow, kInX},
        {s.ReplaceWhenParityError, kErrorChar},
        {s.IgnoreNullChar, kNull},
    };
    std::uint32_t word = kBinary;
    for (const auto& flag : flags)
        if (flag.on)
            word |= flag.bit;
    word |= FieldBits(kDtrControlBits, s.DtrControl);
    word |= FieldBits(kRtsControlBits, s.RtsControl);
    return word;
}

}  // namespace vortana
