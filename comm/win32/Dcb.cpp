#include "comm/win32/Dcb.h"

#include <cstddef>
#include <cstring>

namespace vortana {
namespace {

// The flags are bit fields that fill the 32-bit word after BaudRate; DcbFlags builds that word
// bit for bit, so it is stored whole rather than field by field.
constexpr std::size_t kFlagsOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);
static_assert(offsetof(DCB, wReserved) == kFlagsOffset + sizeof(DWORD),
              "the flag bit fields fill one 32-bit word");

// TByteSize's ordinal 0 is 5 data bits; TParity's and TStopBits' ordinals are the control
// block's own codes (NOPARITY ... SPACEPARITY, ONESTOPBIT ... TWOSTOPBITS).
constexpr unsigned kFewestDataBits = 5;

}  // namespace

void SetLineSettings(const LineSettings& s, DCB& dcb) {
    dcb.BaudRate = s.BaudRate;
    const std::uint32_t flags = DcbFlags(s);
    std::memcpy(reinterpret_cast<unsigned char*>(&dcb) + kFlagsOffset, &flags, sizeof flags);
    dcb.XonLim = s.XonLimit;
    dcb.XoffLim = s.XoffLimit;
    dcb.ByteSize = static_cast<BYTE>(static_cast<unsigned>(s.ByteSize) + kFewestDataBits);
    dcb.Parity = static_cast<BYTE>(s.Parity);
    dcb.StopBits = static_cast<BYTE>(s.StopBits);
    dcb.XonChar = static_cast<char>(s.XonChar);
    dcb.XoffChar = static_cast<char>(s.XoffChar);
    dcb.ErrorChar = static_cast<char>(s.ReplacedChar);
}

}  // namespace vortana
