// Small texts the command-line program prints in several places. Qt-free; pure functions.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace vortana::cli {

// "12.3 s": seconds with one decimal.
std::string SecondsText(std::chrono::milliseconds duration);

// `text` followed by blanks up to `columns` columns and at least one, counted by DisplayWidth
// (a Chinese character takes two).
std::string PadColumns(std::string text, std::size_t columns);

// `rows` as lines of aligned columns: every cell but a row's last followed by blanks up to the
// display width of its column's widest cell and two more, so no cell shifts the ones after it.
std::string TableText(const std::vector<std::vector<std::string>>& rows);

// `text` as a JSON string, quotes included, valid JSON whatever the bytes: valid UTF-8 passes
// through, quotes, backslashes and control characters are escaped, and each byte that is not
// part of a valid UTF-8 character becomes \ufffd (as Go's encoding/json does).
std::string JsonString(std::string_view text);

// `,"name":json`: a field of a JSON object after its first one.
std::string JsonField(std::string_view name, const std::string& json);

}  // namespace vortana::cli
