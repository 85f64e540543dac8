#include "shell/Convert.h"

#include <array>
#include <cstdint>
#include <limits>

namespace vortana {
namespace {

// The value of every character as a hexadecimal digit, -1 where it is none. A table: the loader
// reads two digits for every byte of an image.
constexpr std::array<std::int8_t, 256> kHexDigitValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int digit = 0; digit < 10; ++digit)
        values['0' + digit] = static_cast<std::int8_t>(digit);
    for (int digit = 10; digit < 16; ++digit) {
        values['A' + digit - 10] = static_cast<std::int8_t>(digit);
        values['a' + digit - 10] = static_cast<std::int8_t>(digit);
    }
    return values;
}();

int HexDigitValue(char c) {
    return kHexDigitValues[static_cast<unsigned char>(c)];
}

[[noreturn]] void ThrowNotAnInteger(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

template <typename Int>
Int ParseDecimal(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        ThrowNotAnInteger(text);

    // Accumulate towards the negative side, which has room for the type's smallest value.
    constexpr Int kMin = std::numeric_limits<Int>::min();
    Int value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9')
            ThrowNotAnInteger(text);
        const int digit = c - '0';
        if (value < (kMin + digit) / 10)
            ThrowNotAnInteger(text);
        value = static_cast<Int>(value * 10 - digit);
    }
    if (!negative) {
        if (value == kMin)
            ThrowNotAnInteger(text);
        value = static_cast<Int>(-value);
    }
    return value;
}

}  // namespace

std::int32_t HexToIntDef(std::string_view text, std::int32_t fallback) {
    if (text.empty() || text.size() > 8)
        return fallback;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return fallback;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t StrToInt(std::string_view text) {
    return ParseDecimal<std::int32_t>(text);
}

std::int64_t StrToInt64(std::string_view text) {
    return ParseDecimal<std::int64_t>(text);
}

std::string IntToHex(std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

}  // namespace vortana
