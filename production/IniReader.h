// IniReader: a sectioned key = value file read strictly, in the syntax of the program's settings
// file (shell/IniText.h), for files a person writes and the program must not guess at.
//
// A line "[name]" starts a section; a line "key = value" inside a section holds one value; blanks
// and tabs around names, keys and values do not count, and names and keys compare without regard
// to ASCII case (they are given in lower case). Blank lines and comments (';' or '#' first) are
// skipped. Lines end in LF or CR LF; a UTF-8 byte order mark at the start is skipped. Where the
// settings file's reader passes over what it does not understand, this one refuses it: any other
// line, an entry before the first section, a section or a key in it given twice.
//
// Errors: IniSyntaxError with the 1-based line number. Qt-free; pure.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vortana {

class IniSyntaxError : public std::runtime_error {
  public:
    IniSyntaxError(std::size_t line, const std::string& reason)
        : std::runtime_error(reason), line_(line) {}
    std::size_t Line() const { return line_; }

  private:
    std::size_t line_;
};

struct IniSection {
    std::string name;  // lower case
    std::size_t line;  // 1-based
};

struct IniEntry {
    std::string section;  // lower case
    std::string key;      // lower case
    std::string value;
    std::size_t line;  // 1-based
};

struct IniContents {
    std::vector<IniSection> sections;
    std::vector<IniEntry> entries;
};

// `text` without the blanks and tabs around it, which the syntax does not count.
std::string_view TrimBlanks(std::string_view text);

// Every section and entry of `text`, each in the order of its lines.
IniContents ReadIni(std::string_view text);

}  // namespace vortana
