#include "comm/win32/UsbInstanceId.h"

#include <algorithm>
#include <cctype>

namespace vortana {
namespace {

constexpr std::size_t kIdDigits = 4;

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// Takes `label` ("VID_") and four hexadecimal digits off the front of `text`; the digits in
// lower case, or nothing when they are not there.
std::optional<std::string> TakeId(std::string_view& text, std::string_view label) {
    if (text.size() < label.size() + kIdDigits || !SameLetters(text.substr(0, label.size()), label))
        return std::nullopt;
    std::string digits(text.substr(label.size(), kIdDigits));
    for (char& digit : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(digit)))
            return std::nullopt;
        digit = static_cast<char>(std::tolower(static_cast<unsigned char>(digit)));
    }
    text.remove_prefix(label.size() + kIdDigits);
    return digits;
}

}  // namespace

std::optional<UsbInstanceId> ParseUsbInstanceId(std::string_view id) {
    constexpr std::string_view kBus = "USB\\";
    if (id.size() < kBus.size() || !SameLetters(id.substr(0, kBus.size()), kBus))
        return std::nullopt;
    std::string_view rest = id.substr(kBus.size());
    const std::optional<std::string> vendor = TakeId(rest, "VID_");
    const std::optional<std::string> product = vendor ? TakeId(rest, "&PID_") : std::nullopt;
    // Anything between the ids and the instance part (an interface's "&MI_00") is no device.
    if (!product || !rest.starts_with('\\'))
        return std::nullopt;
    const std::string_view instance = rest.substr(1);
    if (instance.empty() || instance.find('\\') != std::string_view::npos)
        return std::nullopt;
    return UsbInstanceId{*vendor, *product, std::string(instance)};
}

}  // namespace vortana
