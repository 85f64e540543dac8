// The two ways the system turns texts into numbers, and numbers into hexadecimal text.
//
// Hexadecimal texts (addresses, byte texts, record fields, model-code digits) are read with a
// default: a text that is not hexadecimal counts as the default, and nothing is reported.
// Decimal counts (burn count, size digits, serial-number fields) are read strictly: a bad text
// raises EConvertError, which the user-interface layer shows in its standard error box.
// Qt-free; safe on any thread.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vortana {

// A text that does not hold the number it was expected to hold.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// `text` read as hexadecimal, as "$" + text would be: one to eight hexadecimal digits of either
// case and nothing else. Eight digits wrap into the signed 32-bit range ("FFFFFFFF" is -1).
// Anything else, the empty text included, gives `fallback`.
std::int32_t HexToIntDef(std::string_view text, std::int32_t fallback = 0);

// `text` read as a decimal number: optional leading blanks, an optional sign, decimal digits,
// nothing after them, within the type's range. Otherwise throws EConvertError with the message
// "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
std::int64_t StrToInt64(std::string_view text);

// `value` as upper-case hexadecimal, padded with leading zeros to at least `digits` digits.
std::string IntToHex(std::uint64_t value, int digits);

}  // namespace vortana
