// The computation against a fake engine whose answer each test chooses.
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Declination.h"

namespace {

// The fake engine: records its call and answers the chosen point.
struct FakeEngine {
    COORDONNEES_TYPE_NC answer{0.0, 0.0};
    COORDONNEES_TYPE_NC received{0.0, 0.0};
    int nSysIn = 0;
    int nSysOut = 0;
    int nCalls = 0;
};
FakeEngine g_fake;

COORDONNEES_TYPE_NC GEOKERN_APPEL FakeTransform(COORDONNEES_TYPE_NC pointIn, Liste_SysCoord sysIn,
                                                Liste_SysCoord sysOut) {
    g_fake.received = pointIn;
    g_fake.nSysIn = sysIn;
    g_fake.nSysOut = sysOut;
    ++g_fake.nCalls;
    return g_fake.answer;
}

// Node (i, j) of the lattice in metres.
COORDONNEES_TYPE_NC NodeMetres(int i, int j) {
    return {(kGridOriginEastKm + kGridStepKm * i) * 1000.0, (kGridOriginNorthKm + kGridStepKm * j) * 1000.0};
}

DeclinationInput EpochInput() {
    DeclinationInput input{};
    input.m_bDateParsed = true;
    input.m_nYear = 2009;
    input.m_nMonth = 7;
    input.m_nDay = 1;
    input.m_bRadioDms = true;
    input.m_bRadioDmsNorth = true;
    input.m_bRadioDmsEast = true;
    input.m_bRadioDecNorth = true;
    input.m_bRadioDecEast = true;
    return input;
}

class DeclinationTest : public testing::Test {
protected:
    void SetUp() override {
        g_fake = FakeEngine();
        // Every node received; B tells the column and A the row, so a result
        // at the epoch names its node: "i.00 °" and "j/100 °/an".
        m_pGrids.reset(new DeclinationGrids());
        for (int i = 0; i < kGridColumns; ++i)
            for (int j = 0; j < kGridRows; ++j) SetNode(i, j, float(i), float(j) / 100.0f);
    }
    void SetNode(int i, int j, float fEpoch, float fVariation) {
        const int n = GridNodeIndex(i, j);
        m_pGrids->declinationAtEpoch[n] = fEpoch;
        m_pGrids->annualVariation[n] = fVariation;
        m_pGrids->epochReceived[n] = true;
        m_pGrids->variationReceived[n] = true;
    }
    DeclinationOutcome Compute(const DeclinationInput& input) {
        return ComputeDeclination(input, *m_pGrids, &FakeTransform);
    }
    DeclinationOutcome ComputeAt(double dX, double dY, const DeclinationInput& input = EpochInput()) {
        g_fake.answer = {dX, dY};
        return Compute(input);
    }
    std::unique_ptr<DeclinationGrids> m_pGrids;
};

// The core's texts are UTF-8.
std::string Degrees(const char* pszNumber) { return std::string(pszNumber) + " \xC2\xB0"; }
std::string PerYear(const char* pszNumber) { return std::string(pszNumber) + " \xC2\xB0/an"; }

}  // namespace

TEST(DeclinationMessages, AreTheWindowsTexts) {
    EXPECT_EQ(std::string(kszMsgDateNotValid), "Date non valide");
    EXPECT_EQ(std::string(kszMsgDateOutOfPeriod), "La date doit être comprise entre \n Janvier 2009 et Décembre 2015.");
    EXPECT_EQ(std::string(kszMsgOutOfZone), "Coordonnées hors zone");
    EXPECT_STREQ(DeclinationMessage(kDeclinationDateNotValid), kszMsgDateNotValid);
    EXPECT_STREQ(DeclinationMessage(kDeclinationDateOutOfPeriod), kszMsgDateOutOfPeriod);
    EXPECT_STREQ(DeclinationMessage(kDeclinationOutOfZone), kszMsgOutOfZone);
    EXPECT_EQ(DeclinationMessage(kDeclinationResult), nullptr);
}

TEST(DeclinationDates, DaysSinceTheEpoch) {
    EXPECT_EQ(DaysSinceEpoch(2009, 7, 1), 0);
    EXPECT_EQ(DaysSinceEpoch(2009, 1, 1), -181);
    EXPECT_EQ(DaysSinceEpoch(2015, 12, 31), 2374);
    EXPECT_EQ(DaysSinceEpoch(2012, 3, 1) - DaysSinceEpoch(2012, 2, 28), 2);  // 2012 is a leap year
    EXPECT_EQ(CalendarDayNumber(1970, 1, 1), 0);
    EXPECT_EQ(CalendarDayNumber(2000, 3, 1), 11017);
    EXPECT_EQ(CalendarDayNumber(1969, 12, 31), -1);
}

// Walking every day of four centuries and more: the valid dates, the day of
// the year and the day number advance together, and each year ends on its
// length (the calculator's dates and the model's decimal years count on these).
TEST(DeclinationDates, CalendarRunsDayByDay) {
    long long nDayNumber = CalendarDayNumber(1599, 12, 31);
    int nWrong = 0;
    for (int nYear = 1600; nYear <= 2401; ++nYear) {
        int nDayOfYear = 0;
        for (int nMonth = 1; nMonth <= 12; ++nMonth) {
            EXPECT_FALSE(IsCalendarDate(nYear, nMonth, 0));
            int nDay = 1;
            for (; IsCalendarDate(nYear, nMonth, nDay); ++nDay) {
                ++nDayOfYear;
                ++nDayNumber;
                if (DayOfYear(nYear, nMonth, nDay) != nDayOfYear ||
                    CalendarDayNumber(nYear, nMonth, nDay) != nDayNumber) {
                    if (++nWrong <= 5) ADD_FAILURE() << nYear << "-" << nMonth << "-" << nDay;
                }
            }
            EXPECT_GE(nDay - 1, 28);
            EXPECT_LE(nDay - 1, 31);
        }
        EXPECT_EQ(nDayOfYear, DaysInYear(nYear)) << nYear;
        EXPECT_EQ(DaysInYear(nYear), IsLeapYear(nYear) ? 366 : 365);
    }
    EXPECT_EQ(nWrong, 0);
    // 97 leap years in 400: 146,097 days.
    EXPECT_EQ(CalendarDayNumber(2400, 1, 1) - CalendarDayNumber(2000, 1, 1), 146097);
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
}

TEST(DeclinationDates, YearsOf365Days) {
    EXPECT_EQ(YearsFromDays(0), 0.0);
    EXPECT_EQ(YearsFromDays(-181), -181 * 0.0027397260273972603);
    EXPECT_EQ(YearsFromDays(2374), 2374 * 0.0027397260273972603);
    EXPECT_NEAR(YearsFromDays(2374), 2374.0 / 365.0, 1e-15);
}

TEST(DeclinationDates, CalendarAndPeriod) {
    EXPECT_TRUE(IsCalendarDate(2012, 2, 29));
    EXPECT_FALSE(IsCalendarDate(2013, 2, 29));
    EXPECT_TRUE(IsCalendarDate(2000, 2, 29));
    EXPECT_FALSE(IsCalendarDate(1900, 2, 29));
    EXPECT_FALSE(IsCalendarDate(2010, 4, 31));
    EXPECT_FALSE(IsCalendarDate(2010, 13, 1));
    EXPECT_FALSE(IsCalendarDate(2010, 0, 1));
    EXPECT_FALSE(IsCalendarDate(2010, 1, 0));
    EXPECT_TRUE(IsDateInPeriod(2009, 1, 1));
    EXPECT_TRUE(IsDateInPeriod(2015, 12, 31));
    EXPECT_FALSE(IsDateInPeriod(2008, 12, 31));
    EXPECT_FALSE(IsDateInPeriod(2016, 1, 1));
}

TEST_F(DeclinationTest, DateNotParsedOrNotADay) {
    DeclinationInput input = EpochInput();
    input.m_bDateParsed = false;
    EXPECT_EQ(Compute(input).m_eStatus, kDeclinationDateNotValid);
    input = EpochInput();
    input.m_nMonth = 2;
    input.m_nDay = 30;
    EXPECT_EQ(Compute(input).m_eStatus, kDeclinationDateNotValid);
    EXPECT_EQ(g_fake.nCalls, 0);  // the engine is not asked
}

TEST_F(DeclinationTest, PeriodBounds) {
    struct Case {
        int y, m, d;
        DeclinationStatus eStatus;
    } const cases[] = {{2008, 12, 31, kDeclinationDateOutOfPeriod}, {2009, 1, 1, kDeclinationResult},
                       {2015, 12, 31, kDeclinationResult},          {2016, 1, 1, kDeclinationDateOutOfPeriod},
                       {1999, 6, 15, kDeclinationDateOutOfPeriod},  {2026, 12, 8, kDeclinationDateOutOfPeriod}};
    for (const Case& c : cases) {
        DeclinationInput input = EpochInput();
        input.m_nYear = c.y;
        input.m_nMonth = c.m;
        input.m_nDay = c.d;
        g_fake.answer = NodeMetres(100, 100);
        const DeclinationOutcome outcome = Compute(input);
        EXPECT_EQ(outcome.m_eStatus, c.eStatus) << c.y << "-" << c.m << "-" << c.d;
        if (c.eStatus != kDeclinationResult) {
            EXPECT_TRUE(outcome.m_strDeclination.empty());
        }
    }
}

TEST_F(DeclinationTest, ElapsedTimeAtTheThreeDates) {
    SetNode(50, 60, 0.0f, 100.0f);  // D = 100 t
    struct Case {
        int y, m, d;
        const char* pszDeclination;
    } const cases[] = {{2009, 7, 1, "0.00"}, {2009, 1, 1, "-49.59"}, {2015, 12, 31, "650.41"}};
    for (const Case& c : cases) {
        DeclinationInput input = EpochInput();
        input.m_nYear = c.y;
        input.m_nMonth = c.m;
        input.m_nDay = c.d;
        const DeclinationOutcome outcome = ComputeAt(NodeMetres(50, 60).x_lambda, NodeMetres(50, 60).y_phi, input);
        ASSERT_EQ(outcome.m_eStatus, kDeclinationResult);
        EXPECT_EQ(outcome.m_strDeclination, Degrees(c.pszDeclination)) << c.y;
        EXPECT_EQ(outcome.m_strAnnualVariation, PerYear("100.00"));
    }
}

TEST_F(DeclinationTest, DeclinationIsTimesVariationPlusEpochValue) {
    SetNode(10, 20, -0.5f, 0.125f);  // both exact in binary
    DeclinationInput input = EpochInput();
    input.m_nYear = 2015;
    input.m_nMonth = 12;
    input.m_nDay = 31;
    const DeclinationOutcome outcome = ComputeAt(NodeMetres(10, 20).x_lambda, NodeMetres(10, 20).y_phi, input);
    const double dExpected = (2374 * 0.0027397260273972603) * 0.125 + -0.5;
    char szExpected[32];
    std::snprintf(szExpected, sizeof szExpected, "%3.2f", dExpected);
    EXPECT_EQ(outcome.m_strDeclination, Degrees(szExpected));
    EXPECT_EQ(outcome.m_strDeclination, Degrees("0.31"));
    EXPECT_EQ(outcome.m_strAnnualVariation, PerYear("0.12"));  // 0.125 exactly: the even neighbour
}

TEST_F(DeclinationTest, NodeChoiceAlongTheEastings) {
    // Kilometres as the engine's metres truncate them: X = kx * 1000 + 999.
    struct Case {
        int nKm;
        int nIndex;  // -1: out of zone
    } const cases[] = {{12, -1}, {13, 0}, {14, 0}, {15, 0}, {16, 0},
                       {17, 0},  {18, 1}, {1232, 243}, {1233, -1}};
    const double dY = NodeMetres(0, 7).y_phi;
    for (const Case& c : cases) {
        const DeclinationOutcome outcome = ComputeAt(c.nKm * 1000.0 + 999.0, dY);
        if (c.nIndex < 0) {
            EXPECT_EQ(outcome.m_eStatus, kDeclinationOutOfZone) << "kx " << c.nKm;
        } else {
            ASSERT_EQ(outcome.m_eStatus, kDeclinationResult) << "kx " << c.nKm;
            EXPECT_EQ(outcome.m_strDeclination, Degrees((std::to_string(c.nIndex) + ".00").c_str())) << "kx " << c.nKm;
            EXPECT_EQ(outcome.m_strAnnualVariation, PerYear("0.07"));
        }
    }
}

TEST_F(DeclinationTest, NodeChoiceAlongTheNorthings) {
    struct Case {
        int nKm;
        const char* pszVariation;  // row / 100, nullptr: out of zone
    } const cases[] = {{1587, nullptr}, {1588, "0.00"}, {1589, "0.00"}, {1590, "0.00"}, {1591, "0.00"},
                       {1592, "0.00"},  {1593, "0.01"}, {2732, "2.28"}, {2733, nullptr}};
    const double dX = NodeMetres(3, 0).x_lambda;
    for (const Case& c : cases) {
        const DeclinationOutcome outcome = ComputeAt(dX, c.nKm * 1000.0 + 500.0);
        if (c.pszVariation == nullptr) {
            EXPECT_EQ(outcome.m_eStatus, kDeclinationOutOfZone) << "ky " << c.nKm;
        } else {
            ASSERT_EQ(outcome.m_eStatus, kDeclinationResult) << "ky " << c.nKm;
            EXPECT_EQ(outcome.m_strDeclination, Degrees("3.00"));
            EXPECT_EQ(outcome.m_strAnnualVariation, PerYear(c.pszVariation)) << "ky " << c.nKm;
        }
    }
}

TEST_F(DeclinationTest, TruncationComesBeforeTheNodeChoice) {
    // 17,999 m is 17 km: node 15 km, although 20 km is nearer to the exact value.
    const DeclinationOutcome outcome = ComputeAt(17999.0, NodeMetres(0, 0).y_phi);
    ASSERT_EQ(outcome.m_eStatus, kDeclinationResult);
    EXPECT_EQ(outcome.m_strDeclination, Degrees("0.00"));
    EXPECT_EQ(NearestNodeIndex(17, kGridOriginEastKm), 0);
    // Toward zero, not toward minus infinity: -999 m is 0 km, not -1 km.
    int nKm = 1;
    EXPECT_TRUE(MetresToKilometres(-999.0, &nKm));
    EXPECT_EQ(nKm, 0);
    EXPECT_TRUE(MetresToKilometres(-9999.0, &nKm));
    EXPECT_EQ(nKm, -9);
}

TEST_F(DeclinationTest, EngineFailurePairIsOutOfZone) {
    const DeclinationOutcome outcome = ComputeAt(-9999.0, -9999.0);
    EXPECT_EQ(outcome.m_eStatus, kDeclinationOutOfZone);
    EXPECT_TRUE(outcome.m_strDeclination.empty());
    EXPECT_TRUE(outcome.m_strAnnualVariation.empty());
}

TEST_F(DeclinationTest, NonFiniteAndHugeValuesAreOutOfZone) {
    const double dNaN = std::numeric_limits<double>::quiet_NaN();
    const double dInf = std::numeric_limits<double>::infinity();
    const double dGoodX = NodeMetres(5, 5).x_lambda, dGoodY = NodeMetres(5, 5).y_phi;
    const double bad[] = {dNaN, -dNaN, dInf, -dInf, 1e300, -1e300, 2147483648000.0, -2147483649000.0};
    for (double dBad : bad) {
        EXPECT_EQ(ComputeAt(dBad, dGoodY).m_eStatus, kDeclinationOutOfZone) << dBad;
        EXPECT_EQ(ComputeAt(dGoodX, dBad).m_eStatus, kDeclinationOutOfZone) << dBad;
    }
    // The largest kilometre values that fit are taken, then fall outside the lattice.
    EXPECT_EQ(ComputeAt(2147483647999.0, dGoodY).m_eStatus, kDeclinationOutOfZone);
    EXPECT_EQ(ComputeAt(dGoodX, -2147483648999.0).m_eStatus, kDeclinationOutOfZone);
    EXPECT_EQ(ComputeAt(dGoodX, dGoodY).m_eStatus, kDeclinationResult);
}

TEST(DeclinationKilometres, Int32Limits) {
    int nKm = 0;
    EXPECT_TRUE(MetresToKilometres(2147483647999.0, &nKm));
    EXPECT_EQ(nKm, std::numeric_limits<int>::max());
    EXPECT_FALSE(MetresToKilometres(2147483648000.0, &nKm));
    EXPECT_TRUE(MetresToKilometres(-2147483648999.0, &nKm));
    EXPECT_EQ(nKm, std::numeric_limits<int>::min());
    EXPECT_FALSE(MetresToKilometres(-2147483649000.0, &nKm));
    EXPECT_FALSE(MetresToKilometres(std::numeric_limits<double>::quiet_NaN(), &nKm));
    // Extreme kilometres give extreme, out-of-lattice indices without overflow.
    EXPECT_LT(NearestNodeIndex(std::numeric_limits<int>::min(), kGridOriginNorthKm), 0);
    EXPECT_GT(NearestNodeIndex(std::numeric_limits<int>::max(), kGridOriginEastKm), kGridColumns);
}

TEST_F(DeclinationTest, NoDataMarkOnTheEpochValue) {
    const COORDONNEES_TYPE_NC node = NodeMetres(30, 40);
    SetNode(30, 40, 360.5f, 0.1f);  // ordinary variation, marked epoch value
    DeclinationOutcome outcome = ComputeAt(node.x_lambda, node.y_phi);
    EXPECT_EQ(outcome.m_eStatus, kDeclinationOutOfZone);
    EXPECT_TRUE(outcome.m_strDeclination.empty());
    EXPECT_TRUE(outcome.m_strAnnualVariation.empty());
    SetNode(30, 40, std::nextafter(360.0f, 400.0f), 0.1f);  // compared as single precision
    EXPECT_EQ(ComputeAt(node.x_lambda, node.y_phi).m_eStatus, kDeclinationOutOfZone);
    SetNode(30, 40, 360.0f, 0.1f);  // the threshold itself is data
    outcome = ComputeAt(node.x_lambda, node.y_phi);
    ASSERT_EQ(outcome.m_eStatus, kDeclinationResult);
    EXPECT_EQ(outcome.m_strDeclination, Degrees("360.00"));
    // The variation carries no mark of its own.
    SetNode(30, 40, 1.0f, 999.0f);
    EXPECT_EQ(ComputeAt(node.x_lambda, node.y_phi).m_strAnnualVariation, PerYear("999.00"));
}

TEST_F(DeclinationTest, NodesWithoutAValueAreOutOfZone) {
    const COORDONNEES_TYPE_NC node = NodeMetres(8, 9);
    m_pGrids->epochReceived[GridNodeIndex(8, 9)] = false;
    EXPECT_EQ(ComputeAt(node.x_lambda, node.y_phi).m_eStatus, kDeclinationOutOfZone);
    SetNode(8, 9, 1.0f, 0.1f);
    m_pGrids->variationReceived[GridNodeIndex(8, 9)] = false;
    EXPECT_EQ(ComputeAt(node.x_lambda, node.y_phi).m_eStatus, kDeclinationOutOfZone);
    SetNode(8, 9, 1.0f, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(ComputeAt(node.x_lambda, node.y_phi).m_eStatus, kDeclinationOutOfZone);
    SetNode(8, 9, -std::numeric_limits<float>::infinity(), 0.1f);
    EXPECT_EQ(ComputeAt(node.x_lambda, node.y_phi).m_eStatus, kDeclinationOutOfZone);
    // Before any loading, the process-wide grids hold no data at all.
    EXPECT_FALSE(NodeHasData(g_declinationGrids, 8, 9));
    EXPECT_EQ(ComputeDeclination(EpochInput(), g_declinationGrids, &FakeTransform).m_eStatus, kDeclinationOutOfZone);
}

TEST_F(DeclinationTest, NoEngineIsOutOfZone) {
    EXPECT_EQ(ComputeDeclination(EpochInput(), *m_pGrids, nullptr).m_eStatus, kDeclinationOutOfZone);
}

TEST_F(DeclinationTest, EngineCallInDmsMode) {
    DeclinationInput input = EpochInput();
    input.m_nLatDeg = 45;
    input.m_uLatMin = 30;
    input.m_uLatSec = 36;
    input.m_nLonDeg = 2;
    input.m_uLonMin = 15;
    input.m_uLonSec = 0;
    input.m_bRadioDmsNorth = false;  // "Sud"
    input.m_dLatDecimal = 1.0;       // the decimal group is not read in this mode
    input.m_dLonDecimal = 1.0;
    input.m_bRadioDecNorth = false;
    input.m_bRadioDecEast = false;
    g_fake.answer = NodeMetres(1, 1);
    Compute(input);
    ASSERT_EQ(g_fake.nCalls, 1);
    EXPECT_EQ(g_fake.nSysIn, WGS84GG);
    EXPECT_EQ(g_fake.nSysOut, NTFL2E);
    EXPECT_EQ(g_fake.received.y_phi, -(36 * 0.0002777777777777778 + 30 * 0.016666666666666666 + 45));
    EXPECT_DOUBLE_EQ(g_fake.received.y_phi, -45.51);
    EXPECT_EQ(g_fake.received.x_lambda, 2.25);
    input.m_bRadioDmsEast = false;  // "Ouest"
    Compute(input);
    EXPECT_EQ(g_fake.received.x_lambda, -2.25);
}

TEST_F(DeclinationTest, FromLambert2EIsTheSameComputation) {
    // Any answer of the engine and any date: the computation from NTF Lambert
    // II etendu metres gives what ComputeDeclination gives, and the values
    // behind the texts are the ones the texts show.
    const COORDONNEES_TYPE_NC points[] = {{17999.0, 1590000.0}, {600500.0, 2430400.0}, {1232999.0, 2732999.0},
                                          {12999.0, 1600000.0}, {-9999.0, -9999.0},    {1e300, 2e6},
                                          {601234.5, 2428765.4}, {1233000.0, 2000000.0}};
    const int dates[][3] = {{2008, 12, 31}, {2009, 1, 1}, {2009, 7, 1}, {2012, 2, 29}, {2013, 2, 29},
                            {2015, 12, 31}, {2016, 1, 1}};
    SetNode(120, 100, 365.0f, 0.5f);  // no data there
    int nResults = 0;
    for (const COORDONNEES_TYPE_NC& point : points) {
        for (const auto& date : dates) {
            DeclinationInput input = EpochInput();
            input.m_nYear = date[0], input.m_nMonth = date[1], input.m_nDay = date[2];
            const DeclinationOutcome viaEngine = ComputeAt(point.x_lambda, point.y_phi, input);
            const DeclinationOutcome direct =
                DeclinationAtLambert2E(point, true, date[0], date[1], date[2], *m_pGrids);
            EXPECT_EQ(direct.m_eStatus, viaEngine.m_eStatus) << point.x_lambda << " " << date[0];
            EXPECT_EQ(direct.m_strDeclination, viaEngine.m_strDeclination);
            EXPECT_EQ(direct.m_strAnnualVariation, viaEngine.m_strAnnualVariation);
            if (direct.m_eStatus != kDeclinationResult) continue;
            ++nResults;
            EXPECT_EQ(FormatDeclination(direct.m_dDeclination), direct.m_strDeclination);
            EXPECT_EQ(FormatAnnualVariation(direct.m_dAnnualVariation), direct.m_strAnnualVariation);
        }
    }
    EXPECT_GT(nResults, 0);
    EXPECT_EQ(DeclinationAtLambert2E({600000.0, 2000000.0}, false, 2013, 1, 1, *m_pGrids).m_eStatus,
              kDeclinationDateNotValid);
}

TEST(DeclinationPosition, DmsSumsSecondsAndMinutesFirst) {
    EXPECT_EQ(DmsToDegrees(45, 30, 36), (36 * 0.0002777777777777778 + 30 * 0.016666666666666666) + 45);
    EXPECT_EQ(DmsToDegrees(0, 0, 0), 0.0);
    EXPECT_EQ(DmsToDegrees(90, 0, 0), 90.0);
    // Validation lets 90 59' 59" through; it is just a number here.
    EXPECT_GT(DmsToDegrees(90, 59, 59), 90.99);
}

TEST_F(DeclinationTest, EngineCallInDecimalMode) {
    DeclinationInput input = EpochInput();
    input.m_bRadioDms = false;
    input.m_dLatDecimal = 48.8566;
    input.m_dLonDecimal = 2.3522;
    input.m_nLatDeg = 10;  // the DMS group is not read in this mode
    input.m_bRadioDmsNorth = false;
    input.m_bRadioDmsEast = false;
    g_fake.answer = NodeMetres(1, 1);
    struct Case {
        bool bNorth, bEast;
        double dLat, dLon;
    } const cases[] = {{true, true, 48.8566, 2.3522},
                       {false, true, -48.8566, 2.3522},
                       {true, false, 48.8566, -2.3522},
                       {false, false, -48.8566, -2.3522}};
    for (const Case& c : cases) {
        input.m_bRadioDecNorth = c.bNorth;
        input.m_bRadioDecEast = c.bEast;
        Compute(input);
        EXPECT_EQ(g_fake.received.y_phi, c.dLat);
        EXPECT_EQ(g_fake.received.x_lambda, c.dLon);
    }
    // A decimal 0 with "Sud" is handed over as -0.0, which the engine treats as 0.
    input.m_dLatDecimal = 0.0;
    input.m_bRadioDecNorth = false;
    double dLat = 1.0, dLon = 1.0;
    EntryToDegrees(input, &dLat, &dLon);
    EXPECT_EQ(dLat, 0.0);
    EXPECT_TRUE(std::signbit(dLat));
}

TEST(DeclinationFormat, TwoDecimalsAndTheDegreeSign) {
    EXPECT_EQ(FormatDeclination(0.0), Degrees("0.00"));
    EXPECT_EQ(FormatDeclination(-0.001), Degrees("-0.00"));  // the sign stays
    EXPECT_EQ(FormatDeclination(-0.0), Degrees("-0.00"));
    EXPECT_EQ(FormatDeclination(-1.4567), Degrees("-1.46"));
    EXPECT_EQ(FormatDeclination(12.3), Degrees("12.30"));
    EXPECT_EQ(FormatDeclination(359.999), Degrees("360.00"));
    EXPECT_EQ(FormatAnnualVariation(0.1234), PerYear("0.12"));
    EXPECT_EQ(FormatAnnualVariation(-0.004), PerYear("-0.00"));
    EXPECT_EQ(FormatAnnualVariation(1.0), PerYear("1.00"));
}

TEST(DeclinationFormat, SameDigitsAsPrintfInTheCLocale) {
    const double values[] = {0.005, 0.015, 1.005, 2.675, -2.675, 0.375, -0.125, 1e-7, 123456.789, -0.0049999,
                             0.1f, 0.7f, -1.3f, 3.14159265, 1e22};
    for (double dValue : values) {
        char szPrintf[400];
        std::snprintf(szPrintf, sizeof szPrintf, "%3.2f \xC2\xB0", dValue);
        EXPECT_EQ(FormatDeclination(dValue), szPrintf) << dValue;
    }
}

TEST(DeclinationFormat, FullStopInACommaLocale) {
    const char* const names[] = {"fr_FR.UTF-8", "fr_FR.utf8", "fr_FR", "fr_FR@euro", "de_DE.UTF-8",
                                 "French_France.1252", "French"};
    const std::string strSaved = std::setlocale(LC_ALL, nullptr);
    const char* pszFound = nullptr;
    for (const char* pszName : names) {
        if (std::setlocale(LC_ALL, pszName) != nullptr && std::localeconv()->decimal_point[0] == ',') {
            pszFound = pszName;
            break;
        }
    }
    if (pszFound == nullptr) {
        std::setlocale(LC_ALL, strSaved.c_str());
        GTEST_SKIP() << "no locale with a decimal comma here";
    }
    char szLocal[32];
    std::snprintf(szLocal, sizeof szLocal, "%.2f", -1.25);
    const std::string strDeclination = FormatDeclination(-1.25);
    const std::string strVariation = FormatAnnualVariation(0.5);
    std::setlocale(LC_ALL, strSaved.c_str());
    EXPECT_STREQ(szLocal, "-1,25") << pszFound;  // the C runtime itself would write a comma
    EXPECT_EQ(strDeclination, Degrees("-1.25")) << pszFound;
    EXPECT_EQ(strVariation, PerYear("0.50")) << pszFound;
}
