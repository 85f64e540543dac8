// DisplayWidth: how many columns a text takes on a terminal, for tables and progress lines that
// align whatever the port and model names hold. A small table of its own, no locale involved:
// East Asian Wide and Fullwidth characters (CJK ideographs, kana, Hangul, CJK punctuation and
// symbols, full-width forms, the wide emoji) take two columns, combining marks and zero-width
// characters none, every other character one; a byte that is not valid UTF-8 one, as the
// replacement character a terminal shows for it. Qt-free; pure functions.
#pragma once

#include <cstddef>
#include <string_view>

namespace vortana::cli {

// Columns one character takes: 0, 1 or 2.
std::size_t CharacterColumns(char32_t codePoint);

// Columns the UTF-8 `text` takes.
std::size_t DisplayWidth(std::string_view text);

}  // namespace vortana::cli
