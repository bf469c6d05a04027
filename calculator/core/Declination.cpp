// The declination computation: date, position, engine, node, texts.
#include "Declination.h"

#include <cmath>
#include <cstdio>

#include "FixedText.h"

namespace {

// Constants of the computation, kept as the stored literals.
constexpr double kDegreesPerSecond = 0.0002777777777777778;  // nearest double to 1/3600
constexpr double kDegreesPerMinute = 0.016666666666666666;   // nearest double to 1/60
constexpr double kHemisphereFactor = -1.0;


// "%3.2f" followed by a suffix, without the C locale's say on the decimal
// separator.
std::string FormatFixed2(double dValue, const char* pszSuffix) {
    std::string strText = FormatFixed(dValue, 2);
    if (strText.size() < 3) strText.insert(0, 3 - strText.size(), ' ');  // minimum width 3
    return strText + pszSuffix;
}

DeclinationOutcome Outcome(DeclinationStatus eStatus) {
    DeclinationOutcome outcome;
    outcome.m_eStatus = eStatus;
    return outcome;
}

}  // namespace

const char* DeclinationMessage(DeclinationStatus eStatus) {
    switch (eStatus) {
    case kDeclinationDateNotValid: return kszMsgDateNotValid;
    case kDeclinationDateOutOfPeriod: return kszMsgDateOutOfPeriod;
    case kDeclinationOutOfZone: return kszMsgOutOfZone;
    case kDeclinationModelOutOfPeriod: return kszMsgModelOutOfPeriod;
    case kDeclinationPositionNotValid: return kszMsgPositionNotValid;
    case kDeclinationPole: return kszMsgPole;
    case kDeclinationModelMissing: return kszMsgModelMissing;
    case kDeclinationResult: break;
    }
    return nullptr;
}

std::string OutcomeMessage(DeclinationStatus eStatus, const ModelDescription* pModel) {
    if (pModel != nullptr && eStatus == kDeclinationModelOutOfPeriod)
        return "Date hors de la p\xC3\xA9riode du mod\xC3\xA8le " + std::string(pModel->pszName) + " : " +
               ModelSpanText(*pModel) + ".";
    if (pModel != nullptr && eStatus == kDeclinationModelMissing)
        return "Fichier de coefficients " + std::string(pModel->pszFile) + " introuvable";
    if (eStatus == kDeclinationDateOutOfPeriod) return PeriodMessageOnOneLine();
    const char* pszMessage = DeclinationMessage(eStatus);
    return pszMessage == nullptr ? std::string() : std::string(pszMessage);
}

std::string GridPeriodText() {
    return "du " + FrenchDayText(kGridFirstYear, kGridFirstMonth, kGridFirstDay) + " au " +
           FrenchDayText(kGridLastYear, kGridLastMonth, kGridLastDay);
}

std::string GridPeriodIso() {
    char szText[32];
    std::snprintf(szText, sizeof szText, "%04d-%02d-%02d/%04d-%02d-%02d", kGridFirstYear, kGridFirstMonth,
                  kGridFirstDay, kGridLastYear, kGridLastMonth, kGridLastDay);
    return szText;
}

bool IsDateInPeriod(int nYear, int nMonth, int nDay) {
    const long long nDayNumber = CalendarDayNumber(nYear, nMonth, nDay);
    return nDayNumber >= CalendarDayNumber(kGridFirstYear, kGridFirstMonth, kGridFirstDay) &&
           nDayNumber <= CalendarDayNumber(kGridLastYear, kGridLastMonth, kGridLastDay);
}

double DmsToDegrees(int nDeg, unsigned int uMin, unsigned int uSec) {
    // The seconds and minutes terms first, then the degrees.
    const double dFraction = uSec * kDegreesPerSecond + uMin * kDegreesPerMinute;
    return dFraction + nDeg;
}

void EntryToDegrees(const DeclinationInput& input, double* pdLatitude, double* pdLongitude) {
    double dLatitude;
    double dLongitude;
    if (input.m_bRadioDms) {
        dLatitude = DmsToDegrees(input.m_nLatDeg, input.m_uLatMin, input.m_uLatSec);
        if (!input.m_bRadioDmsNorth) dLatitude *= kHemisphereFactor;
        dLongitude = DmsToDegrees(input.m_nLonDeg, input.m_uLonMin, input.m_uLonSec);
        if (!input.m_bRadioDmsEast) dLongitude *= kHemisphereFactor;
    } else {
        dLatitude = input.m_dLatDecimal;
        if (!input.m_bRadioDecNorth) dLatitude *= kHemisphereFactor;
        dLongitude = input.m_dLonDecimal;
        if (!input.m_bRadioDecEast) dLongitude *= kHemisphereFactor;
    }
    *pdLatitude = dLatitude;
    *pdLongitude = dLongitude;
}

std::string PeriodMessageOnOneLine() {
    std::string strMessage = kszMsgDateOutOfPeriod;
    const std::size_t uFeed = strMessage.find('\n');
    std::size_t uBegin = uFeed;
    while (uBegin > 0 && strMessage[uBegin - 1] == ' ') --uBegin;
    std::size_t uEnd = uFeed + 1;
    while (uEnd < strMessage.size() && strMessage[uEnd] == ' ') ++uEnd;
    return strMessage.replace(uBegin, uEnd - uBegin, " ");
}

std::string FormatDeclination(double dDegrees) { return FormatFixed2(dDegrees, " \xC2\xB0"); }

std::string FormatAnnualVariation(double dDegreesPerYear) { return FormatFixed2(dDegreesPerYear, " \xC2\xB0/an"); }

DeclinationStatus CheckDeclinationDate(bool bDateParsed, int nYear, int nMonth, int nDay) {
    if (!bDateParsed || !IsCalendarDate(nYear, nMonth, nDay)) return kDeclinationDateNotValid;
    if (!IsDateInPeriod(nYear, nMonth, nDay)) return kDeclinationDateOutOfPeriod;
    return kDeclinationResult;
}

namespace {
// The node and the texts, for a date already checked.
DeclinationOutcome OutcomeAtLambert2E(COORDONNEES_TYPE_NC pointLambert2E, int nYear, int nMonth, int nDay,
                                      const DeclinationGrids& grids) {
    int i;
    int j;
    if (!NearestGridNode(pointLambert2E.x_lambda, pointLambert2E.y_phi, &i, &j) || !NodeHasData(grids, i, j))
        return Outcome(kDeclinationOutOfZone);
    const double dDeclination = DeclinationAtNode(grids, i, j, DaysSinceEpoch(nYear, nMonth, nDay));
    const float fVariation = grids.annualVariation[GridNodeIndex(i, j)];

    DeclinationOutcome outcome = Outcome(kDeclinationResult);
    outcome.m_strDeclination = FormatDeclination(dDeclination);
    outcome.m_strAnnualVariation = FormatAnnualVariation(fVariation);
    outcome.m_dDeclination = dDeclination;
    outcome.m_dAnnualVariation = fVariation;
    return outcome;
}
}  // namespace

DeclinationOutcome DeclinationAtLambert2E(COORDONNEES_TYPE_NC pointLambert2E, bool bDateParsed, int nYear,
                                          int nMonth, int nDay, const DeclinationGrids& grids) {
    const DeclinationStatus eDate = CheckDeclinationDate(bDateParsed, nYear, nMonth, nDay);
    if (eDate != kDeclinationResult) return Outcome(eDate);
    return OutcomeAtLambert2E(pointLambert2E, nYear, nMonth, nDay, grids);
}

DeclinationOutcome ComputeDeclination(const DeclinationInput& input, const DeclinationGrids& grids,
                                      PFN_SysCoord2SysCoord pfnTransform) {
    double dLatitude;
    double dLongitude;
    EntryToDegrees(input, &dLatitude, &dLongitude);
    return DeclinationAtPlace(kSourceGrid, input.m_bDateParsed, input.m_nYear, input.m_nMonth, input.m_nDay,
                              dLongitude, dLatitude, 0.0, grids, pfnTransform, nullptr);
}

namespace {

// The model's span and the ranges of a position it answers for.
constexpr double kMaxLatitude = 90.0;
constexpr double kMaxLongitude = 180.0;
constexpr double kLowestAltitudeMetres = -10000.0;
constexpr double kHighestAltitudeMetres = 1000000.0;
constexpr double kKilometresPerMetre = 0.001;
// Below this horizontal intensity (nT) the field has no direction on the
// horizontal plane worth giving: the dip poles, within metres.
constexpr double kMinHorizontalField = 1.0;
// Within this many degrees of latitude of a geographic pole (1.1 cm) north has
// no direction worth giving either: there the model's terms in the cosine of
// the latitude lose their digits (at 1e-9 degree the declination is already
// wrong by degrees), and so does the meridian of the place.
constexpr double kPoleMarginDegrees = 1e-7;

// The declination and its rate out of all the elements.
DeclinationOutcome DeclinationFromField(const FieldOutcome& field) {
    DeclinationOutcome outcome = Outcome(field.m_eStatus);
    if (field.m_eStatus == kDeclinationResult) {
        outcome.m_dDeclination = field.m_dElements[kElementD];
        outcome.m_dAnnualVariation = field.m_dElements[kElementCount + kElementD];
        outcome.m_strDeclination = FormatDeclination(outcome.m_dDeclination);
        outcome.m_strAnnualVariation = FormatAnnualVariation(outcome.m_dAnnualVariation);
    }
    return outcome;
}

DeclinationOutcome ModelOutcome(bool bDateParsed, int nYear, int nMonth, int nDay,
                                double dLongitude, double dLatitude, double dAltitudeMetres,
                                const CIgrfModel* pModel, CModelDayCache* pModelDay) {
    DeclinationOutcome outcome;
    if (!bDateParsed || !IsCalendarDate(nYear, nMonth, nDay)) {
        outcome = Outcome(kDeclinationDateNotValid);
    } else {
        CModelDayCache cache;
        const FieldOutcome field = FieldAtPlace(pModel, IgrfDecimalYear(nYear, nMonth, nDay), dLongitude, dLatitude,
                                                dAltitudeMetres, pModelDay != nullptr ? pModelDay : &cache);
        outcome = DeclinationFromField(field);
    }
    if (pModel != nullptr) outcome.m_pModel = pModel->Description();
    return outcome;
}

}  // namespace

bool IsDecimalYearInModelSpan(const CIgrfModel& model, double dDecimalYear) {
    // The file's epochs too: a file put in the place of the published one may
    // span less than its row says.
    const bool bInFile = dDecimalYear >= model.FirstEpoch() && dDecimalYear <= model.LastEpoch();
    return bInFile && (model.Description() == nullptr || IsDecimalYearInModelSpan(*model.Description(), dDecimalYear));
}

bool IsDateInModelSpan(const CIgrfModel& model, int nYear, int nMonth, int nDay) {
    return IsDecimalYearInModelSpan(model, IgrfDecimalYear(nYear, nMonth, nDay));
}

bool IsModelPositionValid(double dLongitude, double dLatitude, double dAltitudeMetres) {
    // The comparisons are false for NaN.
    return dLatitude >= -kMaxLatitude && dLatitude <= kMaxLatitude && dLongitude >= -kMaxLongitude &&
           dLongitude <= kMaxLongitude && dAltitudeMetres >= kLowestAltitudeMetres &&
           dAltitudeMetres <= kHighestAltitudeMetres;
}

CIgrfSnapshot ModelSnapshot(const CIgrfModel& model, int nYear, int nMonth, int nDay) {
    return model.At(IgrfDecimalYear(nYear, nMonth, nDay));
}

const CIgrfSnapshot& CModelDayCache::At(const CIgrfModel& model, double dDecimalYear) {
    if (!m_bValid || m_pModel != &model || dDecimalYear != m_dDecimalYear) {
        m_snapshot = model.At(dDecimalYear);
        m_bValid = true;
        m_pModel = &model;
        m_dDecimalYear = dDecimalYear;
    }
    return m_snapshot;
}

FieldOutcome FieldFromSnapshot(const CIgrfSnapshot& snapshot, const ModelDescription* pModel, double dLongitude,
                               double dLatitude, double dAltitudeMetres) {
    FieldOutcome outcome;
    // North has no direction at a geographic pole.
    if (std::fabs(dLatitude) > kMaxLatitude - kPoleMarginDegrees) {
        outcome.m_eStatus = kDeclinationPole;
        return outcome;
    }
    IgrfVector field;
    IgrfVector rate;
    snapshot.FieldAndRate(dLatitude, dLongitude, dAltitudeMetres * kKilometresPerMetre, &field, &rate);
    const double dH = std::hypot(field.x, field.y);
    if (!(dH >= kMinHorizontalField)) {
        outcome.m_eStatus = kDeclinationPole;
        return outcome;
    }
    ElementsFromField(field, rate, outcome.m_dElements);
    outcome.m_eZone = PoleZoneOf(dH);
    if (pModel != nullptr) outcome.m_bUncertainty = ElementUncertainties(*pModel, dH, outcome.m_dUncertainties);
    return outcome;
}

DeclinationOutcome DeclinationFromSnapshot(const CIgrfSnapshot& snapshot, double dLongitude, double dLatitude,
                                           double dAltitudeMetres) {
    return DeclinationFromField(FieldFromSnapshot(snapshot, nullptr, dLongitude, dLatitude, dAltitudeMetres));
}

FieldOutcome FieldAtPlace(const CIgrfModel* pModel, double dDecimalYear, double dLongitude, double dLatitude,
                          double dAltitudeMetres, CModelDayCache* pCache) {
    FieldOutcome outcome;
    if (!IsModelPositionValid(dLongitude, dLatitude, dAltitudeMetres))
        outcome.m_eStatus = kDeclinationPositionNotValid;
    else if (pModel == nullptr)
        outcome.m_eStatus = kDeclinationModelMissing;
    else if (!IsDecimalYearInModelSpan(*pModel, dDecimalYear))
        outcome.m_eStatus = kDeclinationModelOutOfPeriod;
    if (outcome.m_eStatus != kDeclinationResult) return outcome;
    CModelDayCache cache;
    const CIgrfSnapshot& snapshot = (pCache != nullptr ? pCache : &cache)->At(*pModel, dDecimalYear);
    return FieldFromSnapshot(snapshot, pModel->Description(), dLongitude, dLatitude, dAltitudeMetres);
}

DeclinationOutcome DeclinationAtPlace(DeclinationSource eSource, bool bDateParsed, int nYear, int nMonth, int nDay,
                                      double dLongitude, double dLatitude, double dAltitudeMetres,
                                      const DeclinationGrids& grids, PFN_SysCoord2SysCoord pfnTransform,
                                      const CIgrfModel* pModel, CModelDayCache* pModelDay) {
    if (eSource == kSourceModel)
        return ModelOutcome(bDateParsed, nYear, nMonth, nDay, dLongitude, dLatitude, dAltitudeMetres,
                            pModel, pModelDay);
    // The date is checked before the engine is asked anything.
    const DeclinationStatus eDate = CheckDeclinationDate(bDateParsed, nYear, nMonth, nDay);
    if (eDate != kDeclinationResult) return Outcome(eDate);
    if (pfnTransform == nullptr) return Outcome(kDeclinationOutOfZone);
    COORDONNEES_TYPE_NC pointIn;
    pointIn.x_lambda = dLongitude;
    pointIn.y_phi = dLatitude;
    const COORDONNEES_TYPE_NC pointOut = pfnTransform(pointIn, WGS84GG, NTFL2E);
    return OutcomeAtLambert2E(pointOut, nYear, nMonth, nDay, grids);
}
