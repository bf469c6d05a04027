// norvane-cli's reading of dates, angles and lines, the shared system names
// and the text encoding: tables of what users write, and properties.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConsoleText.h"
#include "Utf8Text.h"
#include "Declination.h"
#include "DeclinationLine.h"
#include "PlaceText.h"

namespace {

struct DateCase {
    const char* pszText;
    bool bParsed;
    int nYear, nMonth, nDay;
};

TEST(NorvaneCliDate, BothFormsAndWhatIsRefused) {
    const DateCase cases[] = {
        {"2013-01-01", true, 2013, 1, 1},   {"01/01/2013", true, 2013, 1, 1},  {"2015-12-31", true, 2015, 12, 31},
        {"31/12/2015", true, 2015, 12, 31}, {"1/7/2009", true, 2009, 7, 1},    {"2009-7-1", true, 2009, 7, 1},
        {"29/02/2012", true, 2012, 2, 29},  {"31/02/2012", true, 2012, 2, 31},  // the computation refuses the day
        {"2013/01/01", false, 0, 0, 0},     {"01-01-2013", false, 0, 0, 0},    {"13-01-01", false, 0, 0, 0},
        {"01/01/13", false, 0, 0, 0},       {"2013-01-01T00:00", false, 0, 0, 0}, {"", false, 0, 0, 0},
        {"2013-001-01", false, 0, 0, 0},    {"+1/01/2013", false, 0, 0, 0},    {"01/01/2013 ", false, 0, 0, 0},
        {"aujourd'hui", false, 0, 0, 0},    {"2013-01-", false, 0, 0, 0},      {"//2013", false, 0, 0, 0},
    };
    for (const DateCase& c : cases) {
        const ParsedDate date = ParseDate(c.pszText);
        EXPECT_EQ(date.m_bParsed, c.bParsed) << c.pszText;
        if (!c.bParsed || !date.m_bParsed) continue;
        EXPECT_EQ(date.m_nYear, c.nYear) << c.pszText;
        EXPECT_EQ(date.m_nMonth, c.nMonth) << c.pszText;
        EXPECT_EQ(date.m_nDay, c.nDay) << c.pszText;
    }
}

TEST(NorvaneCliDate, EveryDayOfThePeriodReadsTheSameInBothForms) {
    for (int nYear = 2008; nYear <= 2016; ++nYear)
        for (int nMonth = 1; nMonth <= 12; ++nMonth)
            for (int nDay = 1; nDay <= 31; ++nDay) {
                char szIso[16], szFrench[16];
                std::snprintf(szIso, sizeof szIso, "%04d-%02d-%02d", nYear, nMonth, nDay);
                std::snprintf(szFrench, sizeof szFrench, "%02d/%02d/%04d", nDay, nMonth, nYear);
                const ParsedDate iso = ParseDate(szIso), french = ParseDate(szFrench);
                ASSERT_TRUE(iso.m_bParsed && french.m_bParsed) << szIso;
                EXPECT_EQ(iso.m_nYear * 10000 + iso.m_nMonth * 100 + iso.m_nDay, nYear * 10000 + nMonth * 100 + nDay);
                EXPECT_EQ(french.m_nYear * 10000 + french.m_nMonth * 100 + french.m_nDay,
                          nYear * 10000 + nMonth * 100 + nDay);
            }
}

struct AngleCase {
    const char* pszText;
    bool bValid;
    Axis eAxis;
    double dSigned;  // the signed degrees when valid
    bool bDms;
};

constexpr double kDms47_12_30 = 47.0 + 12.0 / 60.0 + 30.0 / 3600.0;

TEST(NorvaneCliAngle, FormsUsersWrite) {
    const AngleCase cases[] = {
        {"47.2", true, Axis::kNone, 47.2, false},
        {"-1.5", true, Axis::kNone, -1.5, false},
        {"+2", true, Axis::kNone, 2.0, false},
        {".5", true, Axis::kNone, 0.5, false},
        {"47.2N", true, Axis::kLatitude, 47.2, false},
        {"47.2 S", true, Axis::kLatitude, -47.2, false},
        {"1.5W", true, Axis::kLongitude, -1.5, false},
        {"1.5O", true, Axis::kLongitude, -1.5, false},
        {"1.5o", true, Axis::kLongitude, -1.5, false},
        {"1.5E", true, Axis::kLongitude, 1.5, false},  // a letter, not an exponent
        {"1.5e", true, Axis::kLongitude, 1.5, false},
        {"47.2\xC2\xB0N", true, Axis::kLatitude, 47.2, false},  // UTF-8 degree sign
        {"47\xC2\xB0" "12'30\"N", true, Axis::kLatitude, kDms47_12_30, true},
        {"47\xB0" "12'30\"N", true, Axis::kLatitude, kDms47_12_30, true},  // Windows-1252
        {"47\xF8" "12'30\"N", true, Axis::kLatitude, kDms47_12_30, true},  // a DOS console's code page
        {"47\xC2\xB0" "12\xE2\x80\xB2" "30\xE2\x80\xB3N", true, Axis::kLatitude, kDms47_12_30, true},
        {"47\xC2\xB0" "12'30''N", true, Axis::kLatitude, kDms47_12_30, true},
        {"47d12m30s", true, Axis::kNone, kDms47_12_30, true},
        {"47d12m30s N", true, Axis::kLatitude, kDms47_12_30, true},
        {"47d12m30sS", true, Axis::kLatitude, -kDms47_12_30, true},
        {"47d12m30S", true, Axis::kLatitude, -kDms47_12_30, true},
        {"47:12:30N", true, Axis::kLatitude, kDms47_12_30, true},
        {"47:12:30", true, Axis::kNone, kDms47_12_30, true},
        {"-1:30", true, Axis::kNone, -1.5, true},
        {"1:30:00W", true, Axis::kLongitude, -1.5, true},
        {"47\xC2\xB0N", true, Axis::kLatitude, 47.0, true},
        {"47\xC2\xB0" "12'", true, Axis::kNone, 47.2, true},
        {"", false, Axis::kNone, 0, false},
        {"-", false, Axis::kNone, 0, false},
        {"N", false, Axis::kNone, 0, false},
        {"-1.5W", false, Axis::kNone, 0, false},  // sign and letter
        {"+47N", false, Axis::kNone, 0, false},
        {"47.2X", false, Axis::kNone, 0, false},
        {"47.2NN", false, Axis::kNone, 0, false},
        {"47,2", false, Axis::kNone, 0, false},
        {"1e5", false, Axis::kNone, 0, false},
        {"inf", false, Axis::kNone, 0, false},
        {"nan", false, Axis::kNone, 0, false},
        {"0x10", false, Axis::kNone, 0, false},
        {"47\xC2\xB0" "12.5'N", false, Axis::kNone, 0, false},  // whole minutes, as in the window
        {"47\xC2\xB0" "12'30.5\"N", false, Axis::kNone, 0, false},
        {"47.5\xC2\xB0" "12'", false, Axis::kNone, 0, false},
        {"47:123", false, Axis::kNone, 0, false},
        {"47:", false, Axis::kNone, 0, false},
        {"47 12", false, Axis::kNone, 0, false},
    };
    for (const AngleCase& c : cases) {
        const ParsedAngle angle = ParseAngle(c.pszText);
        EXPECT_EQ(angle.m_bValid, c.bValid) << c.pszText;
        if (!c.bValid || !angle.m_bValid) continue;
        EXPECT_EQ(angle.m_eAxis, c.eAxis) << c.pszText;
        EXPECT_EQ(angle.m_bDms, c.bDms) << c.pszText;
        EXPECT_NEAR(SignedDegrees(angle), c.dSigned, 1e-12) << c.pszText;
    }
    EXPECT_FALSE(ParseAngle(std::string("47\0N", 4)).m_bValid);
    EXPECT_FALSE(ParseAngle(std::string("47.2\0", 5)).m_bValid);
}

TEST(NorvaneCliAngle, DegreesMinutesSecondsSumLikeTheWindow) {
    // 45 degrees 30 minutes 36 seconds south: seconds and minutes first, then
    // the degrees, then the sign, to the bit.
    for (unsigned int uDeg : {0u, 1u, 45u, 89u, 90u})
        for (unsigned int uMin = 0; uMin < 60; uMin += 7)
            for (unsigned int uSec = 0; uSec < 60; uSec += 11) {
                const std::string strText =
                    std::to_string(uDeg) + "d" + std::to_string(uMin) + "m" + std::to_string(uSec) + "sS";
                const ParsedAngle angle = ParseAngle(strText);
                ASSERT_TRUE(angle.m_bValid) << strText;
                const double dWindow = -1.0 * DmsToDegrees(static_cast<int>(uDeg), uMin, uSec);
                EXPECT_EQ(SignedDegrees(angle), dWindow) << strText;
            }
    EXPECT_NEAR(SignedDegrees(ParseAngle("45:30:36S")), -45.51, 1e-13);
}

TEST(NorvaneCliAngle, RangesOfTheWindowFields) {
    struct RangeCase {
        const char* pszText;
        Axis eAxis;
        bool bInRange;
    } cases[] = {
        {"90", Axis::kLatitude, true},       {"90.0000001", Axis::kLatitude, false},
        {"180", Axis::kLongitude, true},     {"180.5", Axis::kLongitude, false},
        {"91", Axis::kLatitude, false},      {"91", Axis::kLongitude, true},
        {"90:59:59", Axis::kLatitude, true},  // the window lets this through too
        {"91:00:00", Axis::kLatitude, false}, {"10:60:00", Axis::kLatitude, false},
        {"10:00:60", Axis::kLongitude, false}, {"180:59:59", Axis::kLongitude, true},
        {"181:0:0", Axis::kLongitude, false},
    };
    for (const RangeCase& c : cases) {
        const ParsedAngle angle = ParseAngle(c.pszText);
        ASSERT_TRUE(angle.m_bValid) << c.pszText;
        EXPECT_EQ(AngleInRange(angle, c.eAxis), c.bInRange) << c.pszText;
    }
}

TEST(NorvaneCliAngle, PlainNumbersForMetres) {
    double dValue = 0.0;
    EXPECT_TRUE(ParseNumber("700000", &dValue));
    EXPECT_EQ(dValue, 700000.0);
    EXPECT_TRUE(ParseNumber("-12.5", &dValue));
    EXPECT_EQ(dValue, -12.5);
    EXPECT_TRUE(ParseNumber("6.6e6", &dValue));
    EXPECT_EQ(dValue, 6.6e6);
    for (const char* pszBad : {"", "-", "1,5", "12m", "inf", "700000N", " 1", "0x10", "+-1"})
        EXPECT_FALSE(ParseNumber(pszBad, &dValue)) << pszBad;
}

struct LineCase {
    const char* pszLine;
    bool bComplete;
    const char *pszDate, *pszX, *pszY, *pszRest;
};

TEST(NorvaneCliLine, FieldsHemisphereLettersAndRest) {
    const LineCase cases[] = {
        {"2013-01-01 -1.5 47.2", true, "2013-01-01", "-1.5", "47.2", ""},
        {"2013-01-01\t-1.5\t47.2\tNantes centre", true, "2013-01-01", "-1.5", "47.2", "Nantes centre"},
        {"2013-01-01;-1.5;47.2;id 7", true, "2013-01-01", "-1.5", "47.2", "id 7"},
        {"2013-01-01, -1.5, 47.2", true, "2013-01-01", "-1.5", "47.2", ""},
        {"  01/01/2013   1.5 W   47.2 N  x", true, "01/01/2013", "1.5 W", "47.2 N", "x"},
        {"2013-01-01 47d12m30s N 1d30m W", true, "2013-01-01", "47d12m30s N", "1d30m W", ""},
        {"2013-01-01 1.5 Nord", true, "2013-01-01", "1.5", "Nord", ""},  // a word, not a letter
        {"2013-01-01 -1.5", false, "2013-01-01", "-1.5", "", ""},
        {"2013-01-01", false, "2013-01-01", "", "", ""},
    };
    for (const LineCase& c : cases) {
        const PlaceLine place = SplitPlaceLine(c.pszLine);
        EXPECT_EQ(place.m_bComplete, c.bComplete) << c.pszLine;
        EXPECT_EQ(place.m_date, c.pszDate) << c.pszLine;
        EXPECT_EQ(place.m_x, c.pszX) << c.pszLine;
        EXPECT_EQ(place.m_y, c.pszY) << c.pszLine;
        EXPECT_EQ(place.m_rest, c.pszRest) << c.pszLine;
    }
    for (const char* pszPass : {"", "   ", "\t", "# date lon lat", "  # indented", "\r"})
        EXPECT_TRUE(IsPassThroughLine(pszPass)) << pszPass;
    for (const char* pszPlace : {"2013-01-01 2 48", "x#", "date lon lat"})
        EXPECT_FALSE(IsPassThroughLine(pszPlace)) << pszPlace;
}

TEST(NorvaneCliMessages, PeriodMessageOnOneLine) {
    // The window's two lines joined by one space: the same words, no line feed.
    const std::string strWindow = DeclinationMessage(kDeclinationDateOutOfPeriod);
    const std::string strLine = PeriodMessageOnOneLine();
    EXPECT_EQ(strLine.find('\n'), std::string::npos);
    EXPECT_EQ(strLine.find("  "), std::string::npos);
    const std::size_t uFeed = strWindow.find('\n');
    ASSERT_NE(uFeed, std::string::npos);
    const std::string strFirst = strWindow.substr(0, uFeed), strSecond = strWindow.substr(uFeed + 1);
    EXPECT_EQ(strLine, strFirst.substr(0, strFirst.find_last_not_of(' ') + 1) + " " +
                           strSecond.substr(strSecond.find_first_not_of(' ')));
}

TEST(NorvaneCliEncoding, Windows1252AndUtf8) {
    // Latin-1 half: every byte is the code point of the same number; every
    // assigned byte comes back from UTF-8 as it was.
    for (unsigned int u = 0xA0; u <= 0xFF; ++u) {
        const std::string strUtf8 = Windows1252ToUtf8(std::string(1, static_cast<char>(u)));
        ASSERT_EQ(strUtf8.size(), 2u);
        EXPECT_EQ(((static_cast<unsigned char>(strUtf8[0]) & 0x1F) << 6) | (static_cast<unsigned char>(strUtf8[1]) & 0x3F), u);
    }
    for (unsigned int u = 1; u <= 0xFF; ++u) {
        const std::string str1252(1, static_cast<char>(u));
        if (Windows1252ToUtf8(str1252) != "?") {
            EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(str1252)), str1252) << u;
        }
    }
    EXPECT_EQ(Windows1252ToUtf8("n\x9C" "ud \x80"), "n\xC5\x93ud \xE2\x82\xAC");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "?");
    // What Windows-1252 lacks, and broken sequences, become '?'.
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x88\x9A \xC3 x\xA9"), "? ? x?");
    // The core's texts are UTF-8; the window shows them in Windows-1252.
    EXPECT_EQ(Utf8ToWindows1252(kszMsgOutOfZone), "Coordonn\xE9" "es hors zone");
    EXPECT_EQ(Utf8ToWindows1252(FormatDeclination(-0.654)), "-0.65 \xB0");
}

// Every text the window shows comes from the core in UTF-8: each must have
// its Windows-1252 form, or the window would show '?' in its place.
TEST(NorvaneCliEncoding, EveryWindowTextHasItsWindows1252Form) {
    std::vector<std::string> texts = {FormatDeclination(-0.654), FormatAnnualVariation(0.15), PeriodMessageOnOneLine()};
    for (int n = kDeclinationDateNotValid; n <= kDeclinationModelMissing; ++n)
        if (const char* pszMessage = DeclinationMessage(static_cast<DeclinationStatus>(n))) texts.emplace_back(pszMessage);
    for (const std::string& strText : texts) EXPECT_EQ(Windows1252ToUtf8(Utf8ToWindows1252(strText)), strText);
}

}  // namespace
