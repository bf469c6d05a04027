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

TEST(InfoText, LineOfExactlyOneBufferHasNoBlankAfterIt) {
    // The line feed of a 255-character line is read on its own; it ends that
    // line and is no blank line of its own.
    const std::string strFull(255, 'x');
    EXPECT_EQ(Read(strFull + "\nsuite\n"), (Lines{strFull, "suite"}));
    EXPECT_EQ(Read(strFull + "\r\nsuite\r\n", "_crlf"), (Lines{strFull, "suite"}));
    EXPECT_EQ(Read(strFull + "\n\nsuite\n", "_blank"), (Lines{strFull, "", "suite"}));
    // 254 characters and a carriage return fill the buffer where the C runtime keeps it.
    const std::string str254(254, 'w');
    EXPECT_EQ(Read(str254 + "\r\nsuite\r\n", "_254"), (Lines{str254, "suite"}));
    // Nor when the rest of the line is trailing blanks.
    EXPECT_EQ(Read(std::string(255, 'v') + std::string(300, ' ') + "\n", "_blanks"), (Lines{std::string(255, 'v')}));
}
