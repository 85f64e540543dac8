#include "production/IniReader.h"

#include <algorithm>
#include <set>
#include <utility>

namespace vortana {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return lower;
}

// The lines of `text` without their line ends.
std::vector<std::string_view> SplitLines(std::string_view text) {
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t lf = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, lf);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(std::min(lf + 1, text.size()));
    }
    return lines;
}

// Reads the lines in order, keeping the section they are in and what was seen already.
class Reader {
  public:
    void Take(std::size_t number, std::string_view content) {
        const std::string_view line = TrimBlanks(content);
        if (line.empty() || line.starts_with(';') || line.starts_with('#'))
            return;
        if (line.starts_with('['))
            StartSection(number, line);
        else
            AddEntry(number, line);
    }

    IniContents Contents() && { return std::move(contents_); }

  private:
    void StartSection(std::size_t number, std::string_view line) {
        if (!line.ends_with(']'))
            throw IniSyntaxError(number, "a section header ends with ']'");
        const std::string name = Lower(TrimBlanks(line.substr(1, line.size() - 2)));
        if (name.empty())
            throw IniSyntaxError(number, "a section needs a name");
        if (!sectionNames_.insert(name).second)
            throw IniSyntaxError(number, "section [" + name + "] given twice");
        contents_.sections.push_back({name, number});
        section_ = name;
        keys_.clear();
    }

    void AddEntry(std::size_t number, std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            throw IniSyntaxError(number, "not a section, an entry 'key = value' or a comment");
        const std::string key = Lower(TrimBlanks(line.substr(0, equals)));
        if (key.empty())
            throw IniSyntaxError(number, "an entry needs a key before its '='");
        if (section_.empty())
            throw IniSyntaxError(number, "entry '" + key + "' before the first section");
        if (!keys_.insert(key).second)
            throw IniSyntaxError(number, "key '" + key + "' given twice in [" + section_ + "]");
        contents_.entries.push_back(
            {section_, key, std::string(TrimBlanks(line.substr(equals + 1))), number});
    }

    std::string section_;
    std::set<std::string> sectionNames_;
    std::set<std::string> keys_;  // of the current section
    IniContents contents_;
};

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

IniContents ReadIni(std::string_view text) {
    Reader reader;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i)
        reader.Take(i + 1, lines[i]);
    return std::move(reader).Contents();
}

}  // namespace vortana
