#include "cli/Text.h"

#include <cstdio>

namespace vortana::cli {

std::string SecondsValue(std::chrono::milliseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", duration.count() / 1000.0);
    return text;
}

std::string SecondsText(std::chrono::milliseconds duration) {
    return SecondsValue(duration) + " s";
}

std::string PadColumns(std::string text, std::size_t columns) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80)
            ++width;
        else if ((byte & 0xC0) == 0xC0)  // the lead byte of a character outside ASCII
            width += 2;
    }
    return text + std::string(width < columns ? columns - width : 1, ' ');
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
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

}  // namespace vortana::cli
