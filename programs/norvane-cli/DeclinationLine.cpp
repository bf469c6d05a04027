#include "DeclinationLine.h"

#include <charconv>
#include <utility>

#include "Declination.h"
#include "GridConvergence.h"
#include "PlaceText.h"
#include "systemes.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ';' || c == ','; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsHemisphereLetter(std::string_view field) {
    return field.size() == 1 && std::string_view("NnSsEeOoWw").find(field[0]) != std::string_view::npos;
}

std::string Number(double dValue) {
    char szText[400];
    const std::to_chars_result result =
        std::to_chars(szText, szText + sizeof szText, dValue, std::chars_format::fixed, kNumberDecimals);
    return std::string(szText, result.ptr);
}

PlaceResult Failure(const char* pszMessage) {
    PlaceResult result;
    result.m_strMessage = pszMessage;
    return result;
}

PlaceResult FromOutcome(const DeclinationOutcome& outcome) {
    if (outcome.m_eStatus == kDeclinationDateOutOfPeriod) {
        PlaceResult result;
        result.m_strMessage = PeriodMessageOnOneLine();
        return result;
    }
    return Failure(DeclinationMessage(outcome.m_eStatus));
}

}  // namespace

bool IsPassThroughLine(std::string_view line) {
    std::size_t uPos = 0;
    while (uPos < line.size() && (IsBlank(line[uPos]) || line[uPos] == '\r')) ++uPos;
    return uPos == line.size() || line[uPos] == '#';
}

PlaceLine SplitPlaceLine(std::string_view line) {
    PlaceLine place;
    std::size_t uPos = 0;
    auto skipSeparators = [&] {
        while (uPos < line.size() && IsSeparator(line[uPos])) ++uPos;
    };
    auto nextField = [&]() -> std::string_view {
        skipSeparators();
        const std::size_t uStart = uPos;
        while (uPos < line.size() && !IsSeparator(line[uPos])) ++uPos;
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
        while (uEnd < line.size() && !IsSeparator(line[uEnd])) ++uEnd;
        if (uLook > uPos && IsHemisphereLetter(line.substr(uLook, uEnd - uLook))) {
            uPos = uEnd;
            return line.substr(uStart, uEnd - uStart);
        }
        return field;
    };
    place.m_date = nextField();
    place.m_x = nextCoordinate();
    place.m_y = nextCoordinate();
    place.m_bComplete = !place.m_date.empty() && !place.m_x.empty() && !place.m_y.empty();
    skipSeparators();
    place.m_rest = line.substr(uPos);
    return place;
}

std::string MarkerColumns(const CliOptions& options) { return options.m_bConvergence ? "*\t*\t*\t*" : "*\t*"; }

PlaceResult DeclinationForPlace(std::string_view date, std::string_view x, std::string_view y, bool bOrderByLetters,
                                const CliOptions& options, const DeclinationGrids& grids) {
    const ParsedDate parsedDate = ParseDate(date);
    const bool bGeographic = geokern_conv::SystemeDeCode(options.m_eSystem)->geographique;

    // The positions are read first, as the window validates its fields before
    // it looks at the date.
    COORDONNEES_TYPE_NC point{};
    DeclinationInput input{};
    if (bGeographic) {
        ParsedAngle longitude = ParseAngle(x);
        ParsedAngle latitude = ParseAngle(y);
        if (bOrderByLetters && longitude.m_bValid && latitude.m_bValid &&
            (longitude.m_eAxis == Axis::kLatitude || latitude.m_eAxis == Axis::kLongitude))
            std::swap(longitude, latitude);
        if (longitude.m_bValid && latitude.m_bValid &&
            (longitude.m_eAxis == Axis::kLatitude || latitude.m_eAxis == Axis::kLongitude))
            return Failure(kszMsgHemispheres);
        if (!longitude.m_bValid || !AngleInRange(longitude, Axis::kLongitude)) return Failure(kszMsgLongitudeNotValid);
        if (!latitude.m_bValid || !AngleInRange(latitude, Axis::kLatitude)) return Failure(kszMsgLatitudeNotValid);
        point = {SignedDegrees(longitude), SignedDegrees(latitude)};

        // The window's entry: its degrees-minutes-seconds mode when both are
        // given so, its decimal mode otherwise (where the calculator's own sum
        // of degrees, minutes and seconds fills a decimal field).
        input.m_bRadioDms = longitude.m_bDms && latitude.m_bDms;
        input.m_nLatDeg = static_cast<int>(latitude.m_uDeg);
        input.m_uLatMin = latitude.m_uMin;
        input.m_uLatSec = latitude.m_uSec;
        input.m_nLonDeg = static_cast<int>(longitude.m_uDeg);
        input.m_uLonMin = longitude.m_uMin;
        input.m_uLonSec = longitude.m_uSec;
        input.m_bRadioDmsNorth = input.m_bRadioDecNorth = !latitude.m_bNegative;
        input.m_bRadioDmsEast = input.m_bRadioDecEast = !longitude.m_bNegative;
        input.m_dLatDecimal = latitude.m_bNegative ? -point.y_phi : point.y_phi;
        input.m_dLonDecimal = longitude.m_bNegative ? -point.x_lambda : point.x_lambda;
    } else {
        if (!ParseNumber(x, &point.x_lambda)) return Failure(kszMsgEastingNotValid);
        if (!ParseNumber(y, &point.y_phi)) return Failure(kszMsgNorthingNotValid);
    }

    DeclinationOutcome outcome;
    if (options.m_eSystem == WGS84GG) {
        // Exactly the window's computation.
        input.m_bDateParsed = parsedDate.m_bParsed;
        input.m_nYear = parsedDate.m_nYear;
        input.m_nMonth = parsedDate.m_nMonth;
        input.m_nDay = parsedDate.m_nDay;
        outcome = ComputeDeclination(input, grids, &SysCoord2SysCoord);
    } else {
        const COORDONNEES_TYPE_NC lambert2e = SysCoord2SysCoord(point, options.m_eSystem, NTFL2E);
        outcome = DeclinationAtLambert2E(lambert2e, parsedDate.m_bParsed, parsedDate.m_nYear, parsedDate.m_nMonth,
                                         parsedDate.m_nDay, grids);
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
        if (!Lambert93Convergence(point, options.m_eSystem, &SysCoord2SysCoord, &dConvergence))
            return Failure(DeclinationMessage(kDeclinationOutOfZone));
        const double dGridAngle = outcome.m_dDeclination - dConvergence;
        if (options.m_bNumbers)
            result.m_strColumns += '\t' + Number(dConvergence) + '\t' + Number(dGridAngle);
        else
            result.m_strColumns += '\t' + FormatDeclination(dConvergence) + '\t' + FormatDeclination(dGridAngle);
    }
    return result;
}
