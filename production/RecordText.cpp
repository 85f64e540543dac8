#include "production/RecordText.h"

#include <cstdio>

#include "shell/Convert.h"

namespace vortana {

std::string SecondsValue(std::chrono::milliseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", duration.count() / 1000.0);
    return text;
}

std::string ChecksumText(const std::optional<std::uint32_t>& checksum) {
    return checksum ? "0x" + IntToHex(*checksum, 8) : "-";
}

std::string Crc32Text(const std::optional<std::uint32_t>& crc32) {
    return crc32 ? IntToHex(*crc32, 8) : "-";
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace vortana
