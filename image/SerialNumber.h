// SerialNumber: the start serial number and increment of the serial-number dialog (TForm5), as
// the device takes them in the download header.
//
// The start number, 0 to 9999999999, becomes five bytes, each one pair of its decimal digits as
// a number from 0 to 99 (not packed decimal: the pair 90 is the byte 90), least significant pair
// first. A negative start number (pasted text the key filter never saw) is refused like one
// that is too large, rather than wrapping into bytes above 99.
//
// Qt-free; the functions that take the session must run on the thread that owns it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/SessionState.h"

namespace vortana {

inline constexpr std::int64_t kSerialNumberMax = 9999999999;
inline constexpr std::string_view kSerialNumberRangeMessage =
    "序号超出范围，最大10位数，请重新设置！";

using SerialNumberDigits = std::array<std::uint8_t, 5>;

// The five bytes of `start`, or nullopt when it lies outside 0 to 9999999999.
std::optional<SerialNumberDigits> EncodeSerialNumber(std::int64_t start);

// The dialog's OK (Button1Click) on the texts of its Edit1 (start) and Edit2 (increment):
// stores the start number in SerialNumberStart and the increment in SerialIncrement, then, when
// the start number is in range, its bytes in SerialNumberBytes. Returns the range message when
// it is not: the dialog then stays open and SerialNumberBytes keeps its value. A text that is
// not a decimal number throws EConvertError (the start number's first, changing nothing; the
// increment's after the start number has been stored).
std::optional<std::string> ApplySerialNumberTexts(std::string_view startText,
                                                  std::string_view incrementText,
                                                  SessionState& session);

// The "否" answer: no serial number; all five bytes and the increment become 0.
void ClearSerialNumber(SessionState& session);

}  // namespace vortana
