// The text of a sectioned key = value settings file, read and changed one value at a time.
//
// A line "[name]" starts a section; a line "key = value" inside a section holds one value. Names
// and keys compare without regard to ASCII case; blanks and tabs around names, keys and values do
// not count. A key appears at most once that counts: the first section of a name and the first
// line of a key in it are used. Lines of any other shape (comments, blank lines, text before the
// first section) are never read and are kept as they are. Lines end in LF or CR LF (a CR that
// ends the text is such a line end cut short); a UTF-8 byte order mark at the start of the text
// is skipped.
// Qt-free, no I/O: these functions take and give the whole text.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vortana {

// A value that cannot be stored on one line of the file.
class EIniValueError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// The value of `key` in `section`, or nothing when the text holds no such entry.
std::optional<std::string> IniReadValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// `text` with `key` in `section` set to `value`, every other byte unchanged. An existing entry
// keeps everything up to its value; a missing key is added after the last non-blank line of its
// section; a missing section is added at the end. New lines end as the text's first line does
// (LF in a text that has none). Blanks at the start of `value` are not written: they would read
// as part of the separator. Throws EIniValueError when `value` holds a CR or LF, or `section` or
// `key` is not a name the file could hold.
std::string IniWriteValue(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value);

}  // namespace vortana
