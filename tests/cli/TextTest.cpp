// The texts the program prints: display widths, JSON strings, aligned tables.
#include "cli/Text.h"

#include <gtest/gtest.h>

#include "cli/DisplayWidth.h"

namespace vortana::cli {
namespace {

TEST(Text, DisplayWidthCountsEastAsianWideCharactersTwoAndCombiningMarksNone) {
    struct Case {
        std::string_view text;
        std::size_t width;
    };
    const Case cases[] = {
        {"ttyUSB0", 7},
        {"芯片", 4},                      // CJK ideographs
        {"한글", 4},                      // Hangul syllables
        {"ＡＢ", 4},                      // full-width forms
        {"、「」", 6},                    // CJK punctuation
        {"ｱｲ", 2},                        // half-width katakana: narrow
        {"e\xCC\x81", 1},                 // e and a combining acute accent
        {"\xE3\x81\x8B\xE3\x82\x99", 2},  // kana and its combining voiced mark
        {"\xFF\xFE", 2},                  // bytes that are no UTF-8: a replacement each
        {"\xE8\x8A", 2},                  // a character cut short
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(Text, JsonStringIsValidJsonForAnyBytes) {
    struct Case {
        std::string_view text;
        std::string_view json;
    };
    const Case cases[] = {
        {"/dev/ttyUSB0", R"("/dev/ttyUSB0")"},
        {"a\"b\\c", R"("a\"b\\c")"},
        {"\n\r\t\x01\x1F\x7F", "\"\\n\\r\\t\\u0001\\u001f\x7F\""},  // DEL is no control
        {"芯片 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF", "\"芯片 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF\""},
        {"/tmp/\xFF", R"("/tmp/\ufffd")"},
        {"\xC0\xAF", R"("\ufffd\ufffd")"},                      // overlong "/"
        {"\xE0\x80\xAF", R"("\ufffd\ufffd\ufffd")"},            // overlong, three bytes
        {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},            // a surrogate
        {"\xF4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"},  // past U+10FFFF
        {"\xE8\x8Az", R"("\ufffd\ufffdz")"},                    // cut short, then resynchronised
        {"\x80\xBF", R"("\ufffd\ufffd")"},                      // continuation bytes alone
    };
    for (const Case& c : cases)
        EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(Text, TableTextSizesEachColumnToItsWidestCell) {
    const std::string table =
        TableText({{"port", "model", "outcome"},
                   {"/dev/serial/by-id/usb-ACME_Programmer-if00", "芯片甲", "ok"},
                   {"COM1", "VT8A-C16", "timed-out"}});
    EXPECT_EQ(table,
              "port                                        model     outcome\n"
              "/dev/serial/by-id/usb-ACME_Programmer-if00  芯片甲    ok\n"
              "COM1                                        VT8A-C16  timed-out\n");
}

}  // namespace
}  // namespace vortana::cli
