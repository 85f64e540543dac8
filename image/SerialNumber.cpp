#include "image/SerialNumber.h"

#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::int64_t kDigitPairBase = 100;

}  // namespace

std::optional<SerialNumberDigits> EncodeSerialNumber(std::int64_t start) {
    if (start < 0 || start > kSerialNumberMax)
        return std::nullopt;
    SerialNumberDigits bytes{};
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(start % kDigitPairBase);
        start /= kDigitPairBase;
    }
    return bytes;
}

std::optional<std::string> ApplySerialNumberTexts(std::string_view startText,
                                                  std::string_view incrementText,
                                                  SessionState& session) {
    session.SerialNumberStart = StrToInt64(startText);
    session.SerialIncrement = static_cast<std::uint8_t>(StrToInt(incrementText));
    const std::optional<SerialNumberDigits> bytes = EncodeSerialNumber(session.SerialNumberStart);
    if (!bytes)
        return std::string(kSerialNumberRangeMessage);
    session.SerialNumberBytes = *bytes;
    return std::nullopt;
}

void ClearSerialNumber(SessionState& session) {
    session.SerialNumberBytes = {};
    session.SerialIncrement = 0;
}

}  // namespace vortana
