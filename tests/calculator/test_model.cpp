// The second source, the geomagnetic model, and the C interface over both
// sources, with the data files committed with the program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Declination.h"
#include "GridConvergence.h"
#include "Igrf.h"
#include "geokern2.h"
#include "norvane.h"

namespace {

const std::string kstrDataDir = NORVANE_DATA_DIR;

struct Data {
    NORVANE_DONNEES* pHandle = NorvaneOuvre(kstrDataDir.c_str());
    CIgrfModel model = CIgrfModel::Load(kstrDataDir + "/" + ModelById(kModelIgrf)->pszFile, *ModelById(kModelIgrf));
    ~Data() { NorvaneFerme(pHandle); }
};
const Data& Shared() {
    static const Data data;
    return data;
}

DeclinationOutcome Model(int nYear, int nMonth, int nDay, double dLon, double dLat, double dAltitude = 0.0) {
    static const DeclinationGrids* const pNoGrids = new DeclinationGrids();
    return DeclinationAtPlace(kSourceModel, true, nYear, nMonth, nDay, dLon, dLat, dAltitude, *pNoGrids, nullptr,
                              &Shared().model);
}

}  // namespace

// Field values of IGRF-14 computed by IAGA's own synthesis program igrf14syn
// (geodetic, WGS84), as published with the tests of SatelliteToolbox's
// geomagnetic field package (test/IGRF14_test_geodetic.txt): decimal year,
// height km, colatitude and east longitude in degrees, X, Y, Z in nT. The rows
// span the centuries, the pole and the equator, and the predicted years.
TEST(ModelReference, FieldMatchesIgrf14syn) {
    const struct {
        double dYear, dHeight, dColatitude, dLongitude, dX, dY, dZ;
    } rows[] = {
        {1900.0, 232.32, 68.00, 165.11, 27505.75351, 3089.91355, 16985.87684},
        {1956.4, 1120.70, 53.01, 334.96, 14250.20463, -4216.15759, 22832.79720},
        {1988.0, 138.16, 56.85, 318.49, 23164.89042, -7333.27843, 32808.52011},
        {1993.0, 1145.39, 88.84, 343.59, 16112.16708, -3907.33032, -3484.93100},
        {2012.2, 77.18, 4.81, 190.69, 750.03774, 394.68103, 55395.16588},
        {2019.6, 861.84, 41.70, 23.47, 14724.38753, 1061.14256, 30350.70774},
        {2022.1, 829.10, 46.47, 114.85, 17590.40262, -1731.07191, 33147.28408},
        {2027.9, 139.86, 45.06, 138.29, 23759.41728, -4335.97718, 42511.80742},
        {2028.4, 1034.24, 39.54, 296.89, 10825.08139, -2737.49034, 31481.89119},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.dYear << " colat " << r.dColatitude << " lon " << r.dLongitude);
        const CIgrfSnapshot snapshot = Shared().model.At(r.dYear);
        const double dLatitude = 90.0 - r.dColatitude;
        const double dLongitude = r.dLongitude > 180.0 ? r.dLongitude - 360.0 : r.dLongitude;
        const IgrfVector plain = snapshot.Field(dLatitude, dLongitude, r.dHeight);
        EXPECT_NEAR(plain.x, r.dX, 0.3);
        EXPECT_NEAR(plain.y, r.dY, 0.3);
        EXPECT_NEAR(plain.z, r.dZ, 0.3);
    }
}

// The fast synthesis (factors per date, longitudes by recurrence, field and
// rate in one pass) against the plain formulas, all over the globe.
TEST(ModelReference, FastSynthesisIsThePlainOne) {
    const CIgrfSnapshot snapshot = Shared().model.At(2026.93);
    for (double dLat = -89.5; dLat <= 89.5; dLat += 7.3)
        for (double dLon = -180.0; dLon <= 180.0; dLon += 11.9) {
            const IgrfVector plain = snapshot.Field(dLat, dLon, 0.35);
            IgrfVector fast, rate;
            snapshot.FieldAndRate(dLat, dLon, 0.35, &fast, &rate);
            EXPECT_NEAR(fast.x, plain.x, 1e-7) << dLat << ' ' << dLon;
            EXPECT_NEAR(fast.y, plain.y, 1e-7) << dLat << ' ' << dLon;
            EXPECT_NEAR(fast.z, plain.z, 1e-7) << dLat << ' ' << dLon;
        }
}

// The rate is the derivative of the declination inside a segment, and on an
// epoch day the rate of the segment that starts there.
TEST(ModelRate, IsTheDerivativeAndEpochsStartTheirSegment) {
    const double dLon = 2.35, dLat = 48.85;
    const auto declination = [&](double dYear) {
        return IgrfDeclination(Shared().model.Field(dLat, dLon, 0.0, dYear));
    };
    const double dStep = 1e-3;
    // 2012-03-01 inside 2010-2015: the central difference.
    const double dT = IgrfDecimalYear(2012, 3, 1);
    EXPECT_NEAR(Model(2012, 3, 1, dLon, dLat).m_dAnnualVariation,
                (declination(dT + dStep) - declination(dT - dStep)) / (2 * dStep), 1e-6);
    const struct {
        int nYear, nMonth, nDay;
        double dFrom, dTo;  // the segment whose slope is the rate
    } cases[] = {{1900, 1, 1, 1900.0, 1905.0}, {2014, 12, 31, 2010.0, 2015.0}, {2015, 1, 1, 2015.0, 2020.0},
                 {2025, 1, 1, 2025.0, 2030.0}, {2030, 1, 1, 2025.0, 2030.0}};
    for (const auto& c : cases) {
        const double dDay = IgrfDecimalYear(c.nYear, c.nMonth, c.nDay);
        const double dSlope = c.dFrom == dDay ? (declination(dDay + dStep) - declination(dDay)) / dStep
                                              : (declination(dDay) - declination(dDay - dStep)) / dStep;
        const DeclinationOutcome outcome = Model(c.nYear, c.nMonth, c.nDay, dLon, dLat);
        ASSERT_EQ(outcome.m_eStatus, kDeclinationResult) << c.nYear;
        EXPECT_NEAR(outcome.m_dAnnualVariation, dSlope, 1e-5) << c.nYear << '-' << c.nMonth << '-' << c.nDay;
    }
    // Either side of 2015-01-01 the rates differ by more than that.
    EXPECT_GT(std::fabs(Model(2015, 1, 1, dLon, dLat).m_dAnnualVariation -
                        Model(2014, 12, 31, dLon, dLat).m_dAnnualVariation),
              1e-3);
}

TEST(ModelLimits, SpanPolesAndPositions) {
    const double kNan = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    const struct {
        int nYear, nMonth, nDay;
        double dLon, dLat, dAltitude;
        DeclinationStatus eStatus;
    } cases[] = {
        {1899, 12, 31, 2.35, 48.85, 0.0, kDeclinationModelOutOfPeriod},
        {1900, 1, 1, 2.35, 48.85, 0.0, kDeclinationResult},
        {2030, 1, 1, 2.35, 48.85, 0.0, kDeclinationResult},
        {2030, 1, 2, 2.35, 48.85, 0.0, kDeclinationModelOutOfPeriod},
        {2023, 2, 29, 2.35, 48.85, 0.0, kDeclinationDateNotValid},
        {2026, 12, 8, -155.5, -77.8, 0.0, kDeclinationResult},  // Antarctica, anywhere
        {2026, 12, 8, 2.35, 48.85, 400000.0, kDeclinationResult},
        {2026, 12, 8, 0.0, 90.0, 0.0, kDeclinationPole},
        {2026, 12, 8, 45.0, -90.0, 0.0, kDeclinationPole},
        {2026, 12, 8, 0.0, 90.000001, 0.0, kDeclinationPositionNotValid},
        {2026, 12, 8, 180.5, 0.0, 0.0, kDeclinationPositionNotValid},
        {2026, 12, 8, kNan, 48.85, 0.0, kDeclinationPositionNotValid},
        {2026, 12, 8, 2.35, kInf, 0.0, kDeclinationPositionNotValid},
        {2026, 12, 8, 2.35, 48.85, kNan, kDeclinationPositionNotValid},
    };
    for (const auto& c : cases) {
        const DeclinationOutcome outcome = Model(c.nYear, c.nMonth, c.nDay, c.dLon, c.dLat, c.dAltitude);
        EXPECT_EQ(outcome.m_eStatus, c.eStatus) << c.nYear << '-' << c.nMonth << '-' << c.nDay << ' ' << c.dLon << ' '
                                                << c.dLat << ' ' << c.dAltitude;
        if (c.eStatus == kDeclinationResult) {
            EXPECT_TRUE(std::isfinite(outcome.m_dDeclination));
        }
    }
    // The messages state the valid ranges.
    const std::string strSpan = OutcomeMessage(kDeclinationModelOutOfPeriod, ModelById(kModelIgrf));
    EXPECT_NE(strSpan.find("1900"), std::string::npos);
    EXPECT_NE(strSpan.find("2030"), std::string::npos);
    EXPECT_NE(std::string(DeclinationMessage(kDeclinationPositionNotValid)).find("-90"), std::string::npos);
}

// At every grid node holding data the model gives the grids' declination to
// their own rounding on their epoch, 2009-07-01 (both generations share the
// definitive 2005 and 2010 fields the grids were made from). On 2015-07-01,
// the grids' other date, they part by the revision of the 2020 field in
// IGRF-14 (at most 6.1e-5 degree a year in the variations, times six years).
// Between and around, the grids are a straight line through those two dates
// while the model's declination bends at its epochs 2010 and 2015: about a
// hundredth of a degree at most.
TEST(ModelAndGrids, AgreeAtTheNodes) {
    const std::string strEpoch = kstrDataDir + "/" + kszEpochGridFile;
    const std::string strVariation = kstrDataDir + "/" + kszVariationGridFile;
    std::unique_ptr<DeclinationGrids> pGrids(new DeclinationGrids());
    ASSERT_EQ(LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *pGrids), kGridsLoaded);
    const struct {
        int nYear, nMonth, nDay;
        double dTolerance;
    } days[] = {{2009, 7, 1, 1e-6},      {2015, 7, 1, 4e-4},     {2009, 1, 1, 0.0125},
                {2012, 6, 15, 0.0125}, {2015, 12, 31, 0.0125}};
    for (const auto& day : days) {
        const CIgrfSnapshot snapshot = ModelSnapshot(Shared().model, day.nYear, day.nMonth, day.nDay);
        const long long nDays = DaysSinceEpoch(day.nYear, day.nMonth, day.nDay);
        int nNodes = 0;
        double dWorst = 0.0;
        for (int i = 0; i < kGridColumns; ++i)
            for (int j = 0; j < kGridRows; ++j) {
                if (!NodeHasData(*pGrids, i, j)) continue;
                const COORDONNEES_TYPE_NC node = SysCoord2SysCoord(
                    {GridNodeEastKm(i) * 1000.0, GridNodeNorthKm(j) * 1000.0}, NTFL2E, WGS84GG);
                const DeclinationOutcome model = DeclinationFromSnapshot(snapshot, node.x_lambda, node.y_phi, 0.0);
                ASSERT_EQ(model.m_eStatus, kDeclinationResult);
                // Single precision holds the epoch value to 5e-7 degree.
                const double dGrid = DeclinationAtNode(*pGrids, i, j, nDays);
                dWorst = std::fmax(dWorst, std::fabs(model.m_dDeclination - dGrid));
                ++nNodes;
            }
        EXPECT_GT(nNodes, 20000);
        EXPECT_LE(dWorst, day.dTolerance) << day.nYear << '-' << day.nMonth << '-' << day.nDay;
    }
}

// The C interface: NORVANE_AUTO's rule, the statuses with their messages, the
// array entries against the single one, and the texts.
TEST(NorvaneC, AutoTakesTheGridsInTheirPeriodOnly) {
    const struct {
        int nYear, nMonth, nDay, nSource;
    } cases[] = {{2008, 12, 31, NORVANE_MODELE}, {2009, 1, 1, NORVANE_GRILLE}, {2015, 12, 31, NORVANE_GRILLE},
                 {2016, 1, 1, NORVANE_MODELE},   {2026, 12, 8, NORVANE_MODELE}};
    for (const auto& c : cases) {
        const NORVANE_DECLINAISON autoAnswer =
            NorvaneDeclinaison(Shared().pHandle, NORVANE_AUTO, c.nYear, c.nMonth, c.nDay, 2.35, 48.85, 0.0);
        const NORVANE_DECLINAISON chosen =
            NorvaneDeclinaison(Shared().pHandle, c.nSource, c.nYear, c.nMonth, c.nDay, 2.35, 48.85, 0.0);
        EXPECT_EQ(autoAnswer.statut, NORVANE_RESULTAT) << c.nYear;
        EXPECT_EQ(autoAnswer.source, c.nSource) << c.nYear;
        EXPECT_EQ(autoAnswer.declinaison, chosen.declinaison) << c.nYear;
        EXPECT_EQ(autoAnswer.variation_annuelle, chosen.variation_annuelle) << c.nYear;
    }
}

TEST(NorvaneC, StatusesAndTheirMessages) {
    const struct {
        int nSource, nYear, nMonth, nDay;
        double dLon, dLat;
        int nStatus;
    } cases[] = {
        {NORVANE_GRILLE, 2016, 1, 1, 2.35, 48.85, NORVANE_HORS_PERIODE_GRILLE},
        {NORVANE_MODELE, 2031, 1, 1, 2.35, 48.85, NORVANE_HORS_PERIODE_MODELE},
        {NORVANE_AUTO, 1850, 1, 1, 2.35, 48.85, NORVANE_HORS_PERIODE_MODELE},
        {NORVANE_AUTO, 2013, 1, 1, -3.0, 55.0, NORVANE_HORS_ZONE},
        {NORVANE_AUTO, 2013, 2, 30, 2.35, 48.85, NORVANE_DATE_NON_VALIDE},
        {NORVANE_AUTO, 2013, 1, 1, 2.35, 91.0, NORVANE_POSITION_NON_VALIDE},
        {NORVANE_AUTO, 2020, 1, 1, 2.35, 90.0, NORVANE_POLE},
        {7, 2020, 1, 1, 2.35, 48.85, NORVANE_SOURCE_NON_VALIDE},
    };
    for (const auto& c : cases) {
        const NORVANE_DECLINAISON answer =
            NorvaneDeclinaison(Shared().pHandle, c.nSource, c.nYear, c.nMonth, c.nDay, c.dLon, c.dLat, 0.0);
        EXPECT_EQ(answer.statut, c.nStatus) << c.nYear << ' ' << c.dLat;
        EXPECT_EQ(answer.declinaison, 0.0);
        ASSERT_NE(NorvaneMessage(c.nStatus), nullptr);
        EXPECT_EQ(std::string(NorvaneMessage(c.nStatus)).find('\n'), std::string::npos);
    }
    EXPECT_EQ(NorvaneMessage(NORVANE_RESULTAT), nullptr);
    EXPECT_STREQ(NorvaneMessage(NORVANE_HORS_ZONE), "Coordonn\xC3\xA9" "es hors zone");

    // A directory without the files: each source names what it lacks.
    NORVANE_DONNEES* pEmpty = NorvaneOuvre(testing::TempDir().c_str());
    EXPECT_STREQ(NorvaneFichierManquant(pEmpty, NORVANE_GRILLE), kszEpochGridFile);
    EXPECT_STREQ(NorvaneFichierManquant(pEmpty, NORVANE_MODELE), ModelById(kModelIgrf)->pszFile);
    EXPECT_EQ(NorvaneDeclinaison(pEmpty, NORVANE_AUTO, 2026, 12, 8, 2.35, 48.85, 0.0).statut,
              NORVANE_DONNEES_ABSENTES);
    NorvaneFerme(pEmpty);
    EXPECT_EQ(NorvaneFichierManquant(Shared().pHandle, NORVANE_AUTO), nullptr);
    // A grid file cut short is as good as missing: Paris is not out of zone.
    const std::string strShortDir = testing::TempDir() + "norvane_short_grid";
    std::filesystem::create_directories(strShortDir);
    std::ofstream(strShortDir + "/" + kszEpochGridFile) << std::ifstream(kstrDataDir + "/" + kszEpochGridFile).rdbuf();
    std::filesystem::resize_file(strShortDir + "/" + kszEpochGridFile, 300000);
    NORVANE_DONNEES* pShort = NorvaneOuvre(strShortDir.c_str());
    EXPECT_STREQ(NorvaneFichierManquant(pShort, NORVANE_GRILLE), kszEpochGridFile);
    NorvaneFerme(pShort);
}

TEST(NorvaneC, ArraysAnswerAsSinglePoints) {
    // Days that repeat and change, both sources, a failure in the middle.
    const std::vector<int> years = {2026, 2026, 2013, 2026, 1950, 1950, 2030};
    const std::vector<int> months = {12, 12, 1, 12, 6, 6, 1};
    const std::vector<int> days = {8, 8, 1, 8, 1, 1, 2};
    const std::vector<double> lons = {2.35, -73.98, 2.35, 2.35, 7.75, 151.2, 2.35};
    const std::vector<double> lats = {48.85, 40.75, 48.85, 48.85, 48.58, -33.87, 48.85};
    const std::vector<double> altitudes = {0.0, 10.0, 0.0, 3000.0, 0.0, 0.0, 0.0};
    const std::size_t n = years.size();
    std::vector<double> declinations(n), variations(n), declinations2(n), variations2(n);
    std::vector<int> statuses(n), sources(n), statuses2(n);
    std::vector<std::int64_t> dayNumbers(n);
    for (std::size_t i = 0; i < n; ++i) dayNumbers[i] = CalendarDayNumber(years[i], months[i], days[i]);

    const std::size_t uResults = NorvaneDeclinaisonTableau(
        Shared().pHandle, NORVANE_AUTO, n, years.data(), months.data(), days.data(), lons.data(), lats.data(),
        altitudes.data(), declinations.data(), variations.data(), statuses.data(), sources.data());
    EXPECT_EQ(uResults, n - 1);
    NorvaneDeclinaisonTableauJours(Shared().pHandle, NORVANE_AUTO, n, dayNumbers.data(), lons.data(), lats.data(),
                                   altitudes.data(), declinations2.data(), variations2.data(), statuses2.data(),
                                   nullptr);
    for (std::size_t i = 0; i < n; ++i) {
        const NORVANE_DECLINAISON single = NorvaneDeclinaison(Shared().pHandle, NORVANE_AUTO, years[i], months[i],
                                                              days[i], lons[i], lats[i], altitudes[i]);
        EXPECT_EQ(statuses[i], single.statut) << i;
        EXPECT_EQ(sources[i], single.source) << i;
        EXPECT_EQ(declinations[i], single.declinaison) << i;
        EXPECT_EQ(variations[i], single.variation_annuelle) << i;
        EXPECT_EQ(statuses2[i], single.statut) << i;
        EXPECT_EQ(declinations2[i], single.declinaison) << i;
    }
    // Days beyond any calendar the program counts.
    const std::int64_t farDays[] = {INT64_MIN, INT64_MAX};
    const double lon[] = {2.35, 2.35}, lat[] = {48.85, 48.85};
    int farStatuses[2];
    EXPECT_EQ(NorvaneDeclinaisonTableauJours(Shared().pHandle, NORVANE_AUTO, 2, farDays, lon, lat, nullptr, nullptr,
                                             nullptr, farStatuses, nullptr),
              0u);
    EXPECT_EQ(farStatuses[0], NORVANE_HORS_PERIODE_MODELE);
    EXPECT_EQ(farStatuses[1], NORVANE_HORS_PERIODE_MODELE);
}

TEST(NorvaneC, TextsAndConvergence) {
    char szText[32];
    EXPECT_EQ(NorvaneTexteDeclinaison(-0.001, szText, sizeof szText), std::strlen("-0.00 \xC2\xB0"));
    EXPECT_STREQ(szText, "-0.00 \xC2\xB0");
    EXPECT_EQ(NorvaneTexteVariation(0.149892, szText, sizeof szText), std::strlen("0.15 \xC2\xB0/an"));
    EXPECT_STREQ(szText, "0.15 \xC2\xB0/an");
    // Too small a buffer: an empty text, and the length needed.
    char szShort[4] = "abc";
    EXPECT_EQ(NorvaneTexteDeclinaison(2.09, szShort, sizeof szShort), std::strlen("2.09 \xC2\xB0"));
    EXPECT_STREQ(szShort, "");

    double dConvergence = 0.0, dCore = 0.0;
    ASSERT_EQ(NorvaneConvergenceLambert93(7.75, 48.58, &dConvergence), 1);
    ASSERT_TRUE(Lambert93Convergence({7.75, 48.58}, WGS84GG, &SysCoord2SysCoord, &dCore));
    EXPECT_EQ(dConvergence, dCore);
    EXPECT_GT(dConvergence, 0.0);  // east of 3 degrees E
}
