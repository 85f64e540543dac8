#include "shell/IniText.h"

#include <algorithm>
#include <vector>

namespace vortana {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

// One line of the text: [begin, end) is its content without the line end, which follows up to
// `next`.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::size_t TextStart(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = TextStart(text);
    while (begin < text.size()) {
        const std::size_t lf = text.find('\n', begin);
        if (lf == std::string_view::npos) {
            // A CR that ends the text is a line end cut short, not part of the line: a line end
            // written after it makes it a CR LF.
            const std::size_t end = text.back() == '\r' ? text.size() - 1 : text.size();
            lines.push_back({begin, end, text.size()});
            break;
        }
        const std::size_t end = lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf;
        lines.push_back({begin, end, lf + 1});
        begin = lf + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
    const std::string_view trimmed = Trim(content);
    if (!trimmed.starts_with('['))
        return std::nullopt;
    const std::string_view inside = trimmed.substr(1);
    return Trim(inside.substr(0, inside.find(']')));
}

// Where the parts of an entry line lie, relative to the line's content.
struct Entry {
    std::string_view key;
    std::size_t valueBegin;  // first character after the '=' and the blanks that follow it
};

std::optional<Entry> EntryOf(std::string_view content) {
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::size_t valueBegin = content.find_first_not_of(kBlanks, equals + 1);
    if (valueBegin == std::string_view::npos)
        valueBegin = content.size();
    return Entry{Trim(content.substr(0, equals)), valueBegin};
}

// The lines of the first section named `section`: [first, last) indexes into `lines`, `first`
// being the header. Nothing when the text has no such section.
struct SectionSpan {
    std::size_t first;
    std::size_t last;
};

std::optional<SectionSpan> FindSection(std::string_view text, const std::vector<Line>& lines,
                                       std::string_view section) {
    const auto content = [&](std::size_t i) {
        return text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(content(i));
        if (!name || !SameName(*name, section))
            continue;
        std::size_t last = i + 1;
        while (last < lines.size() && !SectionName(content(last)))
            ++last;
        return SectionSpan{i, last};
    }
    return std::nullopt;
}

std::string_view LineEndOf(std::string_view text, const std::vector<Line>& lines) {
    if (lines.empty() || lines[0].end == lines[0].next || text[lines[0].next - 1] != '\n')
        return "\n";
    return text.substr(lines[0].end, lines[0].next - lines[0].end);
}

void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaksLine = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (breaksLine(value))
        throw EIniValueError("a settings value cannot hold a line break");
    if (breaksLine(section) || Trim(section) != section || section.empty() ||
        section.find(']') != std::string_view::npos)
        throw EIniValueError("'" + std::string(section) + "' cannot name a settings section");
    if (breaksLine(key) || Trim(key) != key || key.empty() ||
        key.find('=') != std::string_view::npos || key.starts_with('['))
        throw EIniValueError("'" + std::string(key) + "' cannot name a settings key");
}

}  // namespace

std::optional<std::string> IniReadValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
    const std::vector<Line> lines = SplitLines(text);
    const auto span = FindSection(text, lines, section);
    if (!span)
        return std::nullopt;
    for (std::size_t i = span->first + 1; i < span->last; ++i) {
        const std::string_view content = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        const auto entry = EntryOf(content);
        if (entry && SameName(entry->key, key))
            return std::string(Trim(content.substr(entry->valueBegin)));
    }
    return std::nullopt;
}

std::string IniWriteValue(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value) {
    CheckWritable(section, key, value);
    // Blanks before a value read as part of the separator: the file cannot hold them, and kept
    // they would pile up, one more at every rewrite of the entry.
    value.remove_prefix(std::min(value.find_first_not_of(kBlanks), value.size()));
    const std::vector<Line> lines = SplitLines(text);
    const std::string_view lineEnd = LineEndOf(text, lines);
    const std::string entryLine = std::string(key) + "=" + std::string(value);

    // Puts `insert` at `at`, starting a new line first when `at` is the end of an unended line.
    const auto insertAt = [&](std::size_t at, const std::string& insert) {
        std::string result(text.substr(0, at));
        if (at > TextStart(text) && text[at - 1] == '\r')
            result += '\n';  // completes the line end that the text's last CR began
        else if (at > TextStart(text) && text[at - 1] != '\n')
            result += lineEnd;
        result += insert;
        result += text.substr(at);
        return result;
    };

    const auto span = FindSection(text, lines, section);
    if (!span) {
        return insertAt(text.size(), "[" + std::string(section) + "]" + std::string(lineEnd) +
                                         entryLine + std::string(lineEnd));
    }
    std::size_t lastFilled = span->first;
    for (std::size_t i = span->first + 1; i < span->last; ++i) {
        const Line& line = lines[i];
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        const auto entry = EntryOf(content);
        if (entry && SameName(entry->key, key)) {
            std::string result(text.substr(0, line.begin + entry->valueBegin));
            result += value;
            result += text.substr(line.end);
            return result;
        }
        if (!Trim(content).empty())
            lastFilled = i;
    }
    return insertAt(lines[lastFilled].next, entryLine + std::string(lineEnd));
}

}  // namespace vortana
