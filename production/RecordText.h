// How a record's fields are written, the same in the run log, --json and the summary. Qt-free;
// pure functions.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vortana {

// The same number without its unit, for the run log and --json: "12.3".
std::string SecondsValue(std::chrono::milliseconds duration);

// "0x001FE000", or "-" when there is none.
std::string ChecksumText(const std::optional<std::uint32_t>& checksum);

// The image's CRC-32 as the zlib and `crc32` tools show it, upper case: "1A2B3C4D", or "-".
std::string Crc32Text(const std::optional<std::uint32_t>& crc32);

// `text` as a CSV field: quoted when it holds a comma, a quote or a line end.
std::string CsvField(std::string_view text);

}  // namespace vortana
