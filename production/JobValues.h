// JobValues: the values a production job's options take, as the command line and job files spell
// them alike, and the readers that check them. Qt-free; pure functions and constant data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vortana {

// Each list in the order of the settings' radio groups: a value's index is its button.
inline constexpr std::string_view kModeValues[] = {"online", "offline"};
inline constexpr std::string_view kSupplyValues[] = {"5", "3.3"};
inline constexpr std::string_view kYesNoValues[] = {"yes", "no"};

inline constexpr std::int64_t kMaxBurnCount = 9999;     // four packed-decimal digits
inline constexpr std::int64_t kMaxSerialIncrement = 9;  // one digit
inline constexpr double kMaxSeconds = 1e6;

// The choices as a person reads them: "online or offline".
std::string ChoicesText(std::span<const std::string_view> choices);

// The index of `text` among `choices`, or nothing.
std::optional<int> ParseChoice(std::string_view text, std::span<const std::string_view> choices);

// `text` as a whole number from `low` to `high`, or nothing.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text, std::int64_t low,
                                             std::int64_t high);

// `text` as seconds above 0 (or 0 too, when `zeroAllowed`) up to kMaxSeconds, or nothing.
std::optional<double> ParseSeconds(std::string_view text, bool zeroAllowed);

}  // namespace vortana
