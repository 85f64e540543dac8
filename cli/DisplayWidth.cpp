#include "cli/DisplayWidth.h"

#include <algorithm>
#include <iterator>

#include "cli/Utf8.h"

namespace vortana::cli {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Sorted, not overlapping. Nonspacing and enclosing marks of the scripts a model or port name
// plausibly holds, and the zero-width characters.
constexpr Range kZeroWidth[] = {
    {0x0300, 0x036F},    // combining diacritical marks
    {0x0483, 0x0489},    // Cyrillic
    {0x0591, 0x05BD},    // Hebrew points
    {0x0610, 0x061A},    // Arabic
    {0x064B, 0x065F},    // Arabic vowel marks
    {0x0E31, 0x0E31},    // Thai vowel signs
    {0x0E34, 0x0E3A},    // Thai vowel signs
    {0x0E47, 0x0E4E},    // Thai tone marks
    {0x1AB0, 0x1AFF},    // combining diacritical marks, extended
    {0x1DC0, 0x1DFF},    // combining diacritical marks, supplement
    {0x200B, 0x200F},    // zero-width space, joiners, direction marks
    {0x20D0, 0x20FF},    // combining marks for symbols
    {0x302A, 0x302D},    // ideographic tone marks
    {0x3099, 0x309A},    // combining kana voiced sound marks
    {0xFE00, 0xFE0F},    // variation selectors
    {0xFE20, 0xFE2F},    // combining half marks
    {0xFEFF, 0xFEFF},    // zero-width no-break space
    {0xE0100, 0xE01EF},  // variation selectors, supplement
};

// Sorted, not overlapping; checked after kZeroWidth, which the kana marks inside them are in.
// East Asian Wide (W) and Fullwidth (F).
constexpr Range kDoubleWidth[] = {
    {0x1100, 0x115F},    // Hangul Jamo leading consonants
    {0x2329, 0x232A},    // angle brackets
    {0x2E80, 0x303E},    // CJK radicals, Kangxi radicals, CJK symbols and punctuation
    {0x3041, 0x33FF},    // kana, Bopomofo, Hangul compatibility Jamo, CJK compatibility
    {0x3400, 0x4DBF},    // CJK ideographs extension A
    {0x4E00, 0x9FFF},    // CJK unified ideographs
    {0xA000, 0xA4CF},    // Yi
    {0xA960, 0xA97F},    // Hangul Jamo extended A
    {0xAC00, 0xD7A3},    // Hangul syllables
    {0xF900, 0xFAFF},    // CJK compatibility ideographs
    {0xFE10, 0xFE19},    // vertical forms
    {0xFE30, 0xFE6F},    // CJK compatibility forms, small form variants
    {0xFF00, 0xFF60},    // full-width forms
    {0xFFE0, 0xFFE6},    // full-width signs
    {0x1F300, 0x1F64F},  // pictographs, emoticons
    {0x1F900, 0x1F9FF},  // supplemental pictographs
    {0x20000, 0x2FFFD},  // CJK ideographs, supplementary plane
    {0x30000, 0x3FFFD},  // CJK ideographs, tertiary plane
};

bool InRanges(char32_t codePoint, const Range* first, const Range* last) {
    const Range* range = std::upper_bound(
        first, last, codePoint, [](char32_t point, const Range& r) { return point < r.first; });
    return range != first && codePoint <= std::prev(range)->last;
}

}  // namespace

std::size_t CharacterColumns(char32_t codePoint) {
    if (InRanges(codePoint, std::begin(kZeroWidth), std::end(kZeroWidth)))
        return 0;
    if (InRanges(codePoint, std::begin(kDoubleWidth), std::end(kDoubleWidth)))
        return 2;
    return 1;
}

std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    while (!text.empty()) {
        const Utf8Char character = DecodeUtf8(text);
        width += character.valid ? CharacterColumns(character.codePoint) : 1;
        text.remove_prefix(character.length);
    }
    return width;
}

}  // namespace vortana::cli
