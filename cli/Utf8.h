// Utf8: one character decoded from UTF-8 text, strictly: overlong forms, surrogates (U+D800 to
// U+DFFF) and code points past U+10FFFF are invalid, as is a sequence cut short. An invalid
// byte is one unit of its own, so a decoder walking the text resynchronises at the next byte,
// as Go's and most terminals' decoders do. Qt-free; pure function.
#pragma once

#include <cstddef>
#include <string_view>

namespace vortana::cli {

struct Utf8Char {
    char32_t codePoint = 0;  // meaningful only when valid
    std::size_t length = 1;  // bytes taken from the text: 1 for an invalid byte
    bool valid = false;
};

// The character `text` starts with; `text` must not be empty.
Utf8Char DecodeUtf8(std::string_view text);

}  // namespace vortana::cli
