#include "DeclinationLine.h"

#include <utility>

#include "Declination.h"
#include "FixedText.h"
#include "MagneticElements.h"
#include "GridConvergence.h"
#include "Numbers.h"
#include "PointDomain.h"
#include "PlaceText.h"
#include "systemes.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsHemisphereLetter(std::string_view field) {
    return field.size() == 1 && std::string_view("NnSsEeOoWw").find(field[0]) != std::string_view::npos;
}

std::string Number(double dValue) { return FormatFixed(dValue, kNumberDecimals); }

PlaceResult Failure(const char* pszMessage) {
    PlaceResult result;
    result.m_strMessage = pszMessage;
    return result;
}

PlaceResult FromOutcome(const DeclinationOutcome& outcome) {
    if (outcome.m_eStatus == kDeclinationDateOutOfPeriod) {
        PlaceResult result;
        result.m_strMessage = PeriodMessageOnOneLine();
        result.m_bOutOfGridPeriod = true;
        return result;
    }
    PlaceResult result;
    result.m_strMessage = OutcomeMessage(outcome.m_eStatus, outcome.m_pModel);
    return result;
}

// A column of the elements: the value with its unit, or the plain number.
std::string ElementColumn(int nIndex, double dValue, bool bNumbers) {
    if (bNumbers) return Number(dValue);
    const bool bRate = nIndex >= kElementCount;
    if (IsAngleElement(nIndex)) return FormatFixed(dValue, 2) + (bRate ? " \xC2\xB0/an" : " \xC2\xB0");
    return FormatFixed(dValue, 1) + (bRate ? " nT/an" : " nT");
}

// The columns of --elements, --incertitude and the zone, in UTF-8.
PlaceResult FieldColumns(const FieldOutcome& field, const CliOptions& options, const ModelDescription* pModel) {
    if (field.m_eStatus != kDeclinationResult) {
        DeclinationOutcome outcome;
        outcome.m_eStatus = field.m_eStatus;
        outcome.m_pModel = pModel;
        return FromOutcome(outcome);
    }
    PlaceResult result;
    result.m_bOk = true;
    std::string& strColumns = result.m_strColumns;
    const int nElements = options.m_bElements ? kElementWithRatesCount : 0;
    for (int k = 0; k < nElements; ++k)
        strColumns += (k ? "\t" : "") + ElementColumn(k, field.m_dElements[k], options.m_bNumbers);
    if (!options.m_bElements) {
        strColumns = ElementColumn(kElementD, field.m_dElements[kElementD], options.m_bNumbers) + '\t';
        strColumns += options.m_bNumbers ? Number(field.m_dElements[kElementCount + kElementD])
                                         : FormatAnnualVariation(field.m_dElements[kElementCount + kElementD]);
    }
    if (options.m_bUncertainty) {
        const int nCount = options.m_bElements ? kElementCount : 1;
        for (int k = 0; k < nCount; ++k)
            strColumns += '\t' + ElementColumn(k, field.m_dUncertainties[k], options.m_bNumbers);
    }
    if (options.m_bZone) {
        const char* pszZone = PoleZoneText(field.m_eZone);
        strColumns += '\t';
        if (options.m_bNumbers)
            strColumns += std::to_string(static_cast<int>(field.m_eZone));
        else
            strColumns += pszZone == nullptr ? "-" : pszZone;
    }
    return result;
}

}  // namespace

bool IsPassThroughLine(std::string_view line) {
    std::size_t uPos = 0;
    while (uPos < line.size() && (IsBlank(line[uPos]) || line[uPos] == '\r')) ++uPos;
    return uPos == line.size() || line[uPos] == '#';
}

PlaceLine SplitPlaceLine(std::string_view line) {
    PlaceLine place;
    const bool bCommaSeparates = programs::CommaSeparatesFields(line);
    auto isSeparator = [bCommaSeparates](char c) { return IsBlank(c) || c == ';' || (c == ',' && bCommaSeparates); };
    std::size_t uPos = 0;
    auto skipSeparators = [&] {
        while (uPos < line.size() && isSeparator(line[uPos])) ++uPos;
    };
    auto nextField = [&]() -> std::string_view {
        skipSeparators();
        const std::size_t uStart = uPos;
        while (uPos < line.size() && !isSeparator(line[uPos])) ++uPos;
        return line.substr(uStart, uPos - uStart);
    };
    // A coordinate, with a lone hemisphere letter after blanks joined to it.
    auto nextCoordinate = [&]() -> std::string_view {
        std::string_view field = nextField();
        if (field.empty()) return field;
        const std::size_t uStart = static_cast<std::size_t>(field.data() - line.data());
        std::size_t uLook = uPos;
        while (uLook < line.size() && IsBlank(line[uLook])) ++uLook;
        std::size_t uEnd = uLook;
        while (uEnd < line.size() && !isSeparator(line[uEnd])) ++uEnd;
        if (uLook > uPos && IsHemisphereLetter(line.substr(uLook, uEnd - uLook))) {
            uPos = uEnd;
            return line.substr(uStart, uEnd - uStart);
        }
        return field;
    };
    place.m_date = nextField();
    place.m_x = nextCoordinate();
    const std::size_t uEndX = uPos;
    place.m_y = nextCoordinate();
    place.m_bComplete = !place.m_date.empty() && !place.m_x.empty() && !place.m_y.empty();
    if (place.m_bComplete) {
        const std::size_t uStartY = static_cast<std::size_t>(place.m_y.data() - line.data());
        place.m_bDecimalComma = (!bCommaSeparates && (place.m_x.find(',') != std::string_view::npos ||
                                                       place.m_y.find(',') != std::string_view::npos)) ||
                                programs::JoinedByDecimalComma(line.substr(uEndX, uStartY - uEndX), line.substr(uPos));
    }
    skipSeparators();
    place.m_rest = line.substr(uPos);
    return place;
}

const char* ReadGeographicPosition(std::string_view x, std::string_view y, bool bOrderByLetters,
                                   ParsedAngle* pLongitude, ParsedAngle* pLatitude) {
    ParsedAngle longitude = ParseAngle(x);
    ParsedAngle latitude = ParseAngle(y);
    if (bOrderByLetters && longitude.m_bValid && latitude.m_bValid &&
        (longitude.m_eAxis == Axis::kLatitude || latitude.m_eAxis == Axis::kLongitude))
        std::swap(longitude, latitude);
    if (longitude.m_bValid && latitude.m_bValid &&
        (longitude.m_eAxis == Axis::kLatitude || latitude.m_eAxis == Axis::kLongitude))
        return kszMsgHemispheres;
    if (!longitude.m_bValid || !AngleInRange(longitude, Axis::kLongitude)) return kszMsgLongitudeNotValid;
    if (!latitude.m_bValid || !AngleInRange(latitude, Axis::kLatitude)) return kszMsgLatitudeNotValid;
    // The fields' ranges, then the programs' rule on the point ("90:00:30N" is beyond the pole).
    switch (programs::CheckPoint(true, SignedDegrees(longitude), SignedDegrees(latitude))) {
    case programs::PointVerdict::kAccepted: break;
    case programs::PointVerdict::kLatitudeBeyond90: return kszMsgLatitudeNotValid;
    default: return kszMsgLongitudeNotValid;
    }
    *pLongitude = longitude;
    *pLatitude = latitude;
    return nullptr;
}

std::string MarkerColumns(const CliOptions& options) {
    int nColumns = options.m_bElements ? kElementWithRatesCount : 2;
    if (options.m_bUncertainty) nColumns += options.m_bElements ? kElementCount : 1;
    if (options.m_bZone) ++nColumns;
    if (options.m_bConvergence) nColumns += 2;
    std::string strMarkers = "*";
    for (int k = 1; k < nColumns; ++k) strMarkers += "\t*";
    return strMarkers;
}

FieldOutcome PlaceSources::Field(const ParsedDate& date, double dLongitude, double dLatitude,
                                 double dAltitudeMetres) {
    double dYear = date.m_dDecimalYear;
    if (!date.m_bDecimalYear) {
        if (!date.m_bParsed || !IsCalendarDate(date.m_nYear, date.m_nMonth, date.m_nDay)) {
            FieldOutcome outcome;
            outcome.m_eStatus = kDeclinationDateNotValid;
            return outcome;
        }
        dYear = IgrfDecimalYear(date.m_nYear, date.m_nMonth, date.m_nDay);
    }
    return FieldAtPlace(m_pModel, dYear, dLongitude, dLatitude, dAltitudeMetres, &m_modelDay);
}

DeclinationOutcome PlaceSources::At(DeclinationSource eSource, bool bDateParsed, int nYear, int nMonth, int nDay,
                                    double dLongitude, double dLatitude, double dAltitudeMetres) {
    return DeclinationAtPlace(eSource, bDateParsed, nYear, nMonth, nDay, dLongitude, dLatitude, dAltitudeMetres,
                              m_grids, &SysCoord2SysCoord, m_pModel, &m_modelDay);
}

PlaceResult DeclinationForPlace(std::string_view date, std::string_view x, std::string_view y, bool bOrderByLetters,
                                const CliOptions& options, PlaceSources& sources) {
    const ParsedDate parsedDate = ParseDate(date);
    const geokern_conv::Systeme& system = *geokern_conv::SystemeDeCode(options.m_eSystem);
    const bool bGeographic = system.geographique;

    // The positions are read first, as the window validates its fields before
    // it looks at the date.
    COORDONNEES_TYPE_NC point{};
    if (bGeographic && system.degresParUnite != 1.0) {
        // Grads: plain numbers in the system's unit, as the engine takes them.
        if (!ParseNumber(x, &point.x_lambda)) return Failure(kszMsgLongitudeNotValid);
        if (!ParseNumber(y, &point.y_phi)) return Failure(kszMsgLatitudeNotValid);
        switch (programs::CheckPoint(system, point.x_lambda, point.y_phi)) {
        case programs::PointVerdict::kAccepted: break;
        case programs::PointVerdict::kLatitudeBeyond90: return Failure(kszMsgLatitudeNotValid);
        default: return Failure(kszMsgLongitudeNotValid);
        }
    } else if (bGeographic) {
        ParsedAngle longitude, latitude;
        if (const char* pszMessage = ReadGeographicPosition(x, y, bOrderByLetters, &longitude, &latitude))
            return Failure(pszMessage);
        point = {SignedDegrees(longitude), SignedDegrees(latitude)};
    } else {
        if (!ParseNumber(x, &point.x_lambda)) return Failure(kszMsgEastingNotValid);
        if (!ParseNumber(y, &point.y_phi)) return Failure(kszMsgNorthingNotValid);
        if (programs::CheckPoint(false, point.x_lambda, point.y_phi) != programs::PointVerdict::kAccepted)
            return Failure(kszMsgFarFromOrigin);
    }

    DeclinationOutcome outcome;
    if (options.m_eSystem == WGS84GG || options.m_eSource == kSourceModel) {
        // The model takes WGS84 degrees; the engine brings any other system there.
        COORDONNEES_TYPE_NC wgs84 = point;
        if (options.m_eSystem != WGS84GG) {
            wgs84 = SysCoord2SysCoord(point, options.m_eSystem, WGS84GG);
            if (GeokernEchec(wgs84)) return Failure(DeclinationMessage(kDeclinationPositionNotValid));
        }
        if (options.m_eSource == kSourceModel &&
            (options.m_bElements || options.m_bUncertainty || options.m_bZone || parsedDate.m_bDecimalYear)) {
            const FieldOutcome field = sources.Field(parsedDate, wgs84.x_lambda, wgs84.y_phi, options.m_dAltitudeMetres);
            PlaceResult result = FieldColumns(field, options, sources.Model() ? sources.Model()->Description() : nullptr);
            if (!result.m_bOk || !options.m_bConvergence) return result;
            double dConvergence = 0.0;
            if (!Lambert93Convergence(point, options.m_eSystem, &SysCoord2SysCoord, &dConvergence))
                return Failure(DeclinationMessage(kDeclinationOutOfZone));
            const double dGridAngle = field.m_dElements[kElementD] - dConvergence;
            for (const double dAngle : {dConvergence, dGridAngle})
                result.m_strColumns +=
                    '\t' + (options.m_bNumbers ? Number(dAngle) : FormatDeclination(dAngle));
            return result;
        }
        outcome = sources.At(options.m_eSource, parsedDate.m_bParsed, parsedDate.m_nYear, parsedDate.m_nMonth,
                             parsedDate.m_nDay, wgs84.x_lambda, wgs84.y_phi, options.m_dAltitudeMetres);
    } else {
        // The grids are laid out in NTF Lambert II etendu: the engine brings the
        // position there directly.
        const COORDONNEES_TYPE_NC lambert2e = SysCoord2SysCoord(point, options.m_eSystem, NTFL2E);
        outcome = DeclinationAtLambert2E(lambert2e, parsedDate.m_bParsed, parsedDate.m_nYear, parsedDate.m_nMonth,
                                         parsedDate.m_nDay, sources.Grids());
    }
    if (outcome.m_eStatus != kDeclinationResult) return FromOutcome(outcome);

    PlaceResult result;
    result.m_bOk = true;
    if (options.m_bNumbers)
        result.m_strColumns = Number(outcome.m_dDeclination) + '\t' + Number(outcome.m_dAnnualVariation);
    else
        result.m_strColumns = outcome.m_strDeclination + '\t' + outcome.m_strAnnualVariation;
    if (options.m_bConvergence) {
        double dConvergence = 0.0;
        // Far from France the convergence is undefined or beyond 90 degrees:
        // the declination stands, the two columns say so.
        if (!Lambert93Convergence(point, options.m_eSystem, &SysCoord2SysCoord, &dConvergence)) {
            result.m_strColumns += std::string("\t") + kszConvergenceUndefined + '\t' + kszConvergenceUndefined;
            return result;
        }
        const double dGridAngle = outcome.m_dDeclination - dConvergence;
        if (options.m_bNumbers)
            result.m_strColumns += '\t' + Number(dConvergence) + '\t' + Number(dGridAngle);
        else
            result.m_strColumns += '\t' + FormatDeclination(dConvergence) + '\t' + FormatDeclination(dGridAngle);
    }
    return result;
}
