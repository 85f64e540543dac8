// SRecordTokeniser: the lowest layer of the S-record loader. It walks a file's bytes as lines of
// two-character tokens.
//
// A UTF-8 byte-order mark opening the file is skipped. A line ends at a line feed, a carriage
// return followed by a line feed, a lone carriage return, or the end of the file; line ends are
// not tokens. Within a line the characters are taken in pairs from its first character on, so
// every line starts a new record whatever the length of the line before it; an odd character
// left at the end of a line becomes a token of one character. A line holding only blanks
// (spaces and tabs) gives no token, only its end, so that lines keep their numbers. The tokens
// are views into the file, which must outlive the tokeniser.
//
// Qt-free; one tokeniser per file, used by one thread.
#pragma once

#include <cstddef>
#include <string_view>

namespace vortana {

class SRecordTokeniser {
  public:
    enum class Step { Token, LineEnd, FileEnd };

    explicit SRecordTokeniser(std::string_view file);

    // The next step through the file: a token (stored in `token`), the end of the current line,
    // or, after the last line has ended, the end of the file (for good).
    Step Next(std::string_view& token);

  private:
    void StartLine();
    std::size_t AfterLineEnd() const;  // offset of the first character of the next line

    std::string_view file_;
    std::size_t lineStart_ = 0;  // offset of the current line's first character
    std::size_t lineEnd_ = 0;    // offset of its end (the CR or LF, or the file's end)
    std::size_t next_ = 0;       // offset of the next pair
    bool inLine_ = false;
};

}  // namespace vortana
