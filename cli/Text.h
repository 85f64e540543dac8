// Small texts the command-line program prints in several places. Qt-free; pure functions.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vortana::cli {

// "12.3 s": seconds with one decimal.
std::string SecondsText(std::chrono::milliseconds duration);

// `text` followed by blanks up to `columns` columns and at least one, a character outside ASCII
// counting two columns as on a terminal with Chinese text.
std::string PadColumns(std::string text, std::size_t columns);

// The same number without its unit, for the run log and --json: "12.3".
std::string SecondsValue(std::chrono::milliseconds duration);

// `text` as a JSON string, quotes included; control characters escaped.
std::string JsonString(std::string_view text);

// `text` as a CSV field: quoted when it holds a comma, a quote or a line end.
std::string CsvField(std::string_view text);

}  // namespace vortana::cli
