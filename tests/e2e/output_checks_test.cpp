// The end-to-end test judges the program by these readers; a reader that
// accepted bad output would let a broken program pass, so they are tested too.

#include "output_checks.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

TEST(SplitCrLfLines, AcceptsOnlyLinesThatAllEndInCrLf) {
    const CrLfLines good = splitCrLfLines("Anna Berg\r\nTom Hale\r\nEve Moss\r\n");
    EXPECT_EQ(good.problem, "");
    EXPECT_EQ(good.lines, (std::vector<std::string>{"Anna Berg", "Tom Hale", "Eve Moss"}));

    const CrLfLines empty = splitCrLfLines("");
    EXPECT_EQ(empty.problem, "");
    EXPECT_TRUE(empty.lines.empty());

    const CrLfLines blankLine = splitCrLfLines("Anna\r\n\r\n");
    EXPECT_EQ(blankLine.problem, "");
    EXPECT_EQ(blankLine.lines, (std::vector<std::string>{"Anna", ""}));
}

TEST(SplitCrLfLines, NamesTheFirstLineWithAWrongEnd) {
    struct Case {
        const char* text;
        const char* problem;
    };
    for (const Case& c : {Case{"Anna Berg\r\nTom Hale", "line 2 has no line end"},
                          Case{"Anna Berg\nTom Hale\r\n", "line 1 ends in LF without CR"},
                          Case{"Anna Berg\r\nTom Hale\r", "line 2 ends in CR without LF"},
                          Case{"Anna\r\nBerg\rTom\r\n", "line 2 ends in CR without LF"},
                          Case{"Anna\r\n\n", "line 2 ends in LF without CR"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(splitCrLfLines(c.text).problem, c.problem);
    }
}

TEST(NameShapes, FirstAndLastNameIsTwoWordsWithOneBlank) {
    EXPECT_TRUE(isFirstAndLastName("Anna Berg"));
    EXPECT_TRUE(isFirstAndLastName("Tae-yang Nguy\xe1\xbb\x85n"));
    for (const char* bad : {"Anna", "Anna ", " Berg", " ", "", "Anna  Berg", "Anna Berg Moss",
                            "Anna\tBerg", "Anna Berg\r"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(isFirstAndLastName(bad));
    }
}

TEST(NameShapes, SingleNameHasNoBlank) {
    EXPECT_TRUE(isSingleName("Berg"));
    EXPECT_TRUE(isSingleName("O-Neil"));
    for (const char* bad : {"", " ", "Anna Berg", "Berg ", " Berg", "Berg\r"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(isSingleName(bad));
    }
}

TEST(IniValue, ReadsAKeyOfTheGivenSectionOnly) {
    const std::string text =
        "[General]\nText1=5\n\n[Quillfern]\nOption6=True\nText1=37\r\nText2=\"/home/a b/\"\n"
        "[Other]\nText1=9\n";
    EXPECT_EQ(iniValue(text, "Quillfern", "Text1"), "37");
    EXPECT_EQ(iniValue(text, "Quillfern", "Option6"), "True");
    EXPECT_EQ(iniValue(text, "Quillfern", "Text2"), "/home/a b/");
    EXPECT_EQ(iniValue(text, "General", "Text1"), "5");
    EXPECT_EQ(iniValue(text, "Quillfern", "Option5"), std::nullopt);
    EXPECT_EQ(iniValue(text, "Missing", "Text1"), std::nullopt);
    EXPECT_EQ(iniValue("", "Quillfern", "Text1"), std::nullopt);
}

}  // namespace
}  // namespace e2e
