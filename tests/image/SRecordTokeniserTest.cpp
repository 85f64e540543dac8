#include "image/SRecordTokeniser.h"

#include <gtest/gtest.h>

namespace vortana {
namespace {

// The steps through `file`, tokens separated by blanks and each line end as "|".
std::string Steps(std::string_view file) {
    SRecordTokeniser tokeniser(file);
    std::string steps;
    std::string_view token;
    for (;;) {
        switch (tokeniser.Next(token)) {
            case SRecordTokeniser::Step::Token:
                steps.append(token).append(" ");
                break;
            case SRecordTokeniser::Step::LineEnd:
                steps += "| ";
                break;
            case SRecordTokeniser::Step::FileEnd:
                EXPECT_EQ(tokeniser.Next(token), SRecordTokeniser::Step::FileEnd);
                return steps;
        }
    }
}

TEST(SRecordTokeniser, PairsWithinEachLineWhateverItsLineEnd) {
    EXPECT_EQ(Steps("S103\r\nS9\r\n"), "S1 03 | S9 | ");
    EXPECT_EQ(Steps("S103\nS9\n"), "S1 03 | S9 | ");
    EXPECT_EQ(Steps("S103\r\nS9\nS5"), "S1 03 | S9 | S5 | ");
}

TEST(SRecordTokeniser, AnOddLineDoesNotShiftTheNextOne) {
    // Paired across the file, "S1" would start at an odd offset and never be seen.
    EXPECT_EQ(Steps("S10\nS1\n"), "S1 0 | S1 | ");
    EXPECT_EQ(Steps("S10\r\nS1\r\n"), "S1 0 | S1 | ");
    EXPECT_EQ(Steps("S10\rS1\r"), "S1 0 | S1 | ");
}

TEST(SRecordTokeniser, TheLastLineEndsWithTheFile) {
    EXPECT_EQ(Steps("S1AB"), "S1 AB | ");
    EXPECT_EQ(Steps("S1ABC"), "S1 AB C | ");
    EXPECT_EQ(Steps("S1AB\r"), "S1 AB | ");
}

TEST(SRecordTokeniser, EmptyFilesAndBlankLines) {
    EXPECT_EQ(Steps(""), "");
    EXPECT_EQ(Steps("\n"), "| ");
    EXPECT_EQ(Steps("\r\n\r\nS1\n\n"), "| | S1 | | ");
    EXPECT_EQ(Steps("A"), "A | ");
    // Blanks alone give no token, only the line's end; blanks among characters are characters.
    EXPECT_EQ(Steps(" \t \nS1\n \r\t"), "| S1 | | | ");
    EXPECT_EQ(Steps(" S1 \n"), " S 1  | ");
}

TEST(SRecordTokeniser, ALoneCarriageReturnEndsALine) {
    EXPECT_EQ(Steps("S1\rAB\n"), "S1 | AB | ");
    EXPECT_EQ(Steps("S1\r\rAB\n"), "S1 | | AB | ");
    EXPECT_EQ(Steps("S1\n\rAB"), "S1 | | AB | ");  // LF CR is two line ends
}

TEST(SRecordTokeniser, AByteOrderMarkOpeningTheFileIsSkipped) {
    EXPECT_EQ(Steps("\xEF\xBB\xBFS1AB\n"), "S1 AB | ");
    EXPECT_EQ(Steps("\xEF\xBB\xBF"), "");
    // Anywhere else its bytes are characters like any other.
    EXPECT_EQ(Steps("S1\n\xEF\xBB\xBF"), "S1 | \xEF\xBB \xBF | ");
}

}  // namespace
}  // namespace vortana
