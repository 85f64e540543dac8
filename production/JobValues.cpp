#include "production/JobValues.h"

#include <algorithm>
#include <charconv>

namespace vortana {

std::string ChoicesText(std::span<const std::string_view> choices) {
    std::string text;
    for (std::string_view choice : choices)
        text += (text.empty() ? "" : " or ") + std::string(choice);
    return text;
}

std::optional<int> ParseChoice(std::string_view text, std::span<const std::string_view> choices) {
    const auto found = std::find(choices.begin(), choices.end(), text);
    if (found == choices.end())
        return std::nullopt;
    return static_cast<int>(found - choices.begin());
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text, std::int64_t low,
                                             std::int64_t high) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < low || number > high)
        return std::nullopt;
    return number;
}

std::optional<double> ParseSeconds(std::string_view text, bool zeroAllowed) {
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    const bool inRange = zeroAllowed ? seconds >= 0 : seconds > 0;
    if (error != std::errc() || end != text.data() + text.size() || !inRange ||
        seconds > kMaxSeconds)
        return std::nullopt;
    return seconds;
}

}  // namespace vortana
