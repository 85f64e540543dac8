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
    EXPECT_EQ(Steps("S10\nS1\n"), "S1 | S1 | ");
    EXPECT_EQ(Steps("S10\r\nS1\r\n"), "S1 | S1 | ");
}

TEST(SRecordTokeniser, TheLastLineEndsWithTheFile) {
    EXPECT_EQ(Steps("S1AB"), "S1 AB | ");
    EXPECT_EQ(Steps("S1ABC"), "S1 AB | ");
    EXPECT_EQ(Steps("S1AB\r"), "S1 AB | ");  // a CR without LF is a character, left odd here
}

TEST(SRecordTokeniser, EmptyFilesAndBlankLines) {
    EXPECT_EQ(Steps(""), "");
    EXPECT_EQ(Steps("\n"), "| ");
    EXPECT_EQ(Steps("\r\n\r\nS1\n\n"), "| | S1 | | ");
    EXPECT_EQ(Steps("A"), "| ");
}

TEST(SRecordTokeniser, ACarriageReturnInsideALineIsAnOrdinaryCharacter) {
    EXPECT_EQ(Steps("S1\rAB\n"), "S1 \rA | ");
    EXPECT_EQ(Steps("S1\r\rAB\n"), "S1 \r\r AB | ");
}

}  // namespace
}  // namespace vortana
