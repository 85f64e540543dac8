#include "cli/Text.h"

#include <algorithm>
#include <cstdio>

#include "cli/DisplayWidth.h"
#include "cli/Utf8.h"
#include "production/RecordText.h"

namespace vortana::cli {
namespace {

constexpr std::size_t kColumnGap = 2;  // blanks between table columns

std::string JsonEscapedAscii(char c) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            if (static_cast<unsigned char>(c) >= 0x20)
                return std::string(1, c);
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            return escaped;
    }
}

}  // namespace

std::string SecondsText(std::chrono::milliseconds duration) {
    return SecondsValue(duration) + " s";
}

std::string PadColumns(std::string text, std::size_t columns) {
    const std::size_t width = DisplayWidth(text);
    return text + std::string(width < columns ? columns - width : 1, ' ');
}

std::string TableText(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const std::vector<std::string>& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], DisplayWidth(row[column]));
    }
    std::string table;
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column)
            table += column + 1 < row.size() ? PadColumns(row[column], widths[column] + kColumnGap)
                                             : row[column];
        table += "\n";
    }
    return table;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const Utf8Char character = DecodeUtf8(text);
        if (!character.valid)
            out += "\\ufffd";
        else if (character.length == 1)
            out += JsonEscapedAscii(text[0]);
        else
            out += text.substr(0, character.length);
        text.remove_prefix(character.length);
    }
    return out + "\"";
}

std::string JsonField(std::string_view name, const std::string& json) {
    return ",\"" + std::string(name) + "\":" + json;
}

}  // namespace vortana::cli
