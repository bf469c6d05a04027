// The information text reader.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "InfoText.h"
#include "test_files.h"

using Lines = std::vector<std::string>;

namespace {
Lines Read(const std::string& strText, const char* pszSuffix = "") {
    return ReadInfoLines(WriteScratchFile(strText, pszSuffix).c_str());
}
}  // namespace

TEST(InfoText, LinesInFileOrder) {
    EXPECT_EQ(Read("Calculateur\nde d\xE9" "clinaison\n"), (Lines{"Calculateur", "de d\xE9" "clinaison"}));
}

TEST(InfoText, LastLineWithOrWithoutLineFeed) {
    EXPECT_EQ(Read("un\ndeux\n", "_lf"), (Lines{"un", "deux"}));
    EXPECT_EQ(Read("un\ndeux", "_nolf"), (Lines{"un", "deux"}));
}

TEST(InfoText, EmptyAndMissingFiles) {
    EXPECT_TRUE(Read("").empty());
    EXPECT_TRUE(ReadInfoLines(MissingFilePath().c_str()).empty());
}

TEST(InfoText, TrailingBlanksGoLeadingStay) {
    EXPECT_EQ(Read("   retrait \t \r\n\tonglet\v\f\n"), (Lines{"   retrait", "\tonglet"}));
}

TEST(InfoText, BlankLinesGiveEmptyEntries) {
    EXPECT_EQ(Read("a\n\n   \n\t\nb\n"), (Lines{"a", "", "", "", "b"}));
    EXPECT_EQ(Read("\n", "_single"), (Lines{""}));
}

TEST(InfoText, LongLinesComeInPiecesOf255) {
    const std::string strLong = std::string(255, 'x') + std::string(45, 'y');
    EXPECT_EQ(Read(strLong + "\nfin\n"), (Lines{std::string(255, 'x'), std::string(45, 'y'), "fin"}));
    const std::string strVeryLong(600, 'z');
    EXPECT_EQ(Read(strVeryLong, "_600"),
              (Lines{std::string(255, 'z'), std::string(255, 'z'), std::string(90, 'z')}));
}

TEST(InfoText, LineOfExactlyOneBufferThenItsLineFeedAlone) {
    // A read stops after 255 characters; when that is a whole line, the next
    // read takes its line feed alone and gives an empty entry.
    const std::string strFull(255, 'x'), str254(254, 'w'), strBlanks(300, ' ');
    const struct {
        std::string strText;
        Lines expected;
    } cases[] = {
        {strFull + "\nsuite\n", {strFull, "", "suite"}},
        {strFull + "\r\nsuite\r\n", {strFull, "", "suite"}},
        {strFull + "\n\nsuite\n", {strFull, "", "", "suite"}},
        {strFull, {strFull}},
        // 254 characters and the line feed fill one read exactly, CR LF or LF.
        {str254 + "\nsuite\n", {str254, "suite"}},
        {str254 + "\r\nsuite\r\n", {str254, "suite"}},
        // Trailing blanks past the 255th character come in pieces of their own.
        {std::string(255, 'v') + strBlanks + "\n", {std::string(255, 'v'), "", ""}},
    };
    int n = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.strText, ("_" + std::to_string(n)).c_str()), c.expected) << "case " << n;
        ++n;
    }
}

TEST(InfoText, ReadAsWindowsTextModeOnEveryPlatform) {
    // CR LF is one line feed, a CR alone stays inside its line, Ctrl+Z ends the file.
    EXPECT_EQ(Read("un\r\ndeux\rtrois\r\n", "_cr"), (Lines{"un", "deux\rtrois"}));
    EXPECT_EQ(Read(std::string("un\ndeux\x1A" "trois\nquatre\n"), "_ctrlz"), (Lines{"un", "deux"}));
    // A piece is taken as text: a NUL ends it.
    EXPECT_EQ(Read(std::string("ab\0cd\nef\n", 9), "_nul"), (Lines{"ab", "ef"}));
}
