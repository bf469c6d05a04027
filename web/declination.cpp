// The web page's declination: the position read as norvane-cli reads it, the
// declination from the C interface of the calculator core (norvane.h) with
// the source chosen by the date, and the texts norvane-cli writes.
#include <emscripten/emscripten.h>

#include <cmath>
#include <string>
#include <vector>
#include <string_view>

#include "ConsoleText.h"
#include "Declination.h"
#include "DeclinationGrids.h"
#include "FixedText.h"
#include "DeclinationLine.h"
#include "PlaceText.h"
#include "norvane.h"

// module.cpp's, for every field of the page.
std::string_view WithoutBlanks(std::string_view text);

namespace {

NORVANE_DONNEES* g_data = nullptr;
std::string g_answer;

// "0" and the message (UTF-8), one per line.
const char* Failure(const char* pszMessage) {
    g_answer = std::string("0\n") + pszMessage;
    return g_answer.c_str();
}

std::string Text(size_t (*pfnText)(double, char*, size_t), double dValue) {
    char szText[64];
    pfnText(dValue, szText, sizeof szText);
    return szText;
}

// Every element of a model at one place and day: NORVANE_RESULTAT or the
// status, with the fourteen values, seven uncertainties and the zone.
struct PlaceField {
    int nStatus = NORVANE_DATE_NON_VALIDE;
    double elements[NORVANE_ELEMENTS] = {};
    double uncertainties[NORVANE_INCERTITUDES] = {};
    int nZone = NORVANE_ZONE_NORMALE;
};
PlaceField FieldAt(int nModel, const ParsedDate& day, double dLongitude, double dLatitude) {
    PlaceField field;
    const double dYear = NorvaneAnneeDecimale(day.m_nYear, day.m_nMonth, day.m_nDay);
    NorvaneChampTableau(g_data, nModel, 1, &dYear, &dLongitude, &dLatitude, nullptr, field.elements,
                        field.uncertainties, &field.nZone, &field.nStatus);
    return field;
}

// A value of the elements' table with its unit ("" for NaN).
std::string ElementText(double dValue, bool bAngle, bool bRate) {
    if (std::isnan(dValue)) return "";
    if (bAngle) return FormatFixed(dValue, bRate ? 3 : 2) + (bRate ? " \xC2\xB0/an" : " \xC2\xB0");
    return FormatFixed(dValue, 1) + (bRate ? " nT/an" : " nT");
}

}  // namespace

extern "C" {

// Reads the data files from a directory of the module's file system. Returns
// the name of a missing file, or "" when all are there.
EMSCRIPTEN_KEEPALIVE const char* web_open(const char* directory) {
    NorvaneFerme(g_data);
    g_data = NorvaneOuvre(directory);
    const char* missing = NorvaneFichierManquant(g_data, NORVANE_AUTO);
    return missing != nullptr ? missing : "";
}

// The declination at a place (latitude and longitude texts) on a day
// ("2013-01-01"), from the grids from 2009-01-01 to 2015-12-31 and from the
// model on other days. Returns "1" then the declination, the annual variation,
// the source, the Lambert 93 convergence and the angle from grid north to
// magnetic north; or "0" then the message. One text per line, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* web_declination(const char* latitude, const char* longitude, const char* date,
                                                  int model) {
    // Blanks around a field are no part of it, as norvane-cli cuts its fields.
    const std::string_view latitudeText = WithoutBlanks(latitude), longitudeText = WithoutBlanks(longitude);
    if (latitudeText.empty() || longitudeText.empty())
        return Failure(latitudeText.empty() ? (longitudeText.empty() ? "Latitude et longitude manquantes"
                                                                     : "Latitude manquante")
                                            : "Longitude manquante");
    // The position first, as the window validates its fields before the date.
    ParsedAngle lon, lat;
    if (const char* pszMessage = ReadGeographicPosition(longitudeText, latitudeText, true, &lon, &lat))
        return Failure(pszMessage);
    const ParsedDate day = ParseDate(WithoutBlanks(date));
    if (!day.m_bParsed) return Failure(kszMsgDateNotValid);
    const double dLongitude = SignedDegrees(lon), dLatitude = SignedDegrees(lat);
    NORVANE_DECLINAISON result = NorvaneDeclinaison(g_data, NORVANE_AUTO, day.m_nYear, day.m_nMonth, day.m_nDay,
                                                    dLongitude, dLatitude, 0.0);
    std::string strSource = result.source == NORVANE_GRILLE ? "grilles du calculateur" : "mod\xC3\xA8le IGRF-14";
    if (NorvaneModeleNom(model) != nullptr) {  // a model chosen instead of the date's source
        const PlaceField field = FieldAt(model, day, dLongitude, dLatitude);
        result.statut = field.nStatus;
        result.declinaison = field.elements[0];
        result.variation_annuelle = field.elements[NORVANE_ELEMENTS / 2];
        strSource = std::string("mod\xC3\xA8le ") + NorvaneModeleNom(model);
    }
    if (result.statut != NORVANE_RESULTAT) {
        g_answer = std::string("0\n") + NorvaneMessageModele(result.statut, model < 0 ? NORVANE_IGRF : model);
        return g_answer.c_str();
    }
    // Far from France the convergence is undefined: the declination stands,
    // the two grid fields say so, as norvane-cli's columns do.
    double dConvergence = 0.0;
    const bool bConvergence = NorvaneConvergenceLambert93(dLongitude, dLatitude, &dConvergence) != 0;
    const std::string strUndefined = kszConvergenceUndefined;
    g_answer = "1\n" + Text(NorvaneTexteDeclinaison, result.declinaison) + '\n' +
                Text(NorvaneTexteVariation, result.variation_annuelle) + '\n' +
                strSource + '\n' +
                (bConvergence ? Text(NorvaneTexteDeclinaison, dConvergence) : strUndefined) + '\n' +
                (bConvergence ? Text(NorvaneTexteDeclinaison, result.declinaison - dConvergence) : strUndefined);
    return g_answer.c_str();
}

// The models for the page's chooser: key, then name and span, of model k
// (0 to web_model_count() - 1).
EMSCRIPTEN_KEEPALIVE int web_model_count() { return NORVANE_NOMBRE_MODELES; }
EMSCRIPTEN_KEEPALIVE const char* web_model_key(int k) { return NorvaneModeleCle(k); }
EMSCRIPTEN_KEEPALIVE const char* web_model_name(int k) { return NorvaneModeleNom(k); }
EMSCRIPTEN_KEEPALIVE const char* web_model_label(int k) {
    g_answer = std::string(NorvaneModeleNom(k)) + " (" + NorvaneModelePeriode(k) + ")";
    return g_answer.c_str();
}
// The data files the page fetches into the module's directory, one a line.
EMSCRIPTEN_KEEPALIVE const char* web_data_files() {
    g_answer = std::string(kszEpochGridFile) + '\n' + kszVariationGridFile;
    for (int k = 0; k < NORVANE_NOMBRE_MODELES; ++k) g_answer += std::string("\n") + NorvaneModeleFichier(k);
    return g_answer.c_str();
}

// The elements' table at a place on a day by a model (IGRF-14 when model is
// not one): "1", the model's name, the zone's words ("" outside the zones),
// then for D, I, H, X, Y, Z, F one line "name<TAB>value<TAB>rate<TAB>uncertainty"
// (an empty uncertainty where the model publishes none); or "0" and the
// message. UTF-8.
EMSCRIPTEN_KEEPALIVE const char* web_elements(const char* latitude, const char* longitude, const char* date,
                                               int model) {
    if (NorvaneModeleNom(model) == nullptr) model = NORVANE_IGRF;
    ParsedAngle lon, lat;
    if (const char* pszMessage = ReadGeographicPosition(longitude, latitude, true, &lon, &lat))
        return Failure(pszMessage);
    const ParsedDate day = ParseDate(date);
    if (!day.m_bParsed) return Failure(kszMsgDateNotValid);
    const PlaceField field = FieldAt(model, day, SignedDegrees(lon), SignedDegrees(lat));
    if (field.nStatus != NORVANE_RESULTAT) {
        g_answer = std::string("0\n") + NorvaneMessageModele(field.nStatus, model);
        return g_answer.c_str();
    }
    const char* pszZone = NorvaneZoneTexte(field.nZone);
    g_answer = std::string("1\n") + NorvaneModeleNom(model) + '\n' + (pszZone != nullptr ? pszZone : "");
    for (int k = 0; k < NORVANE_INCERTITUDES; ++k) {
        const bool bAngle = k < 2;  // D and I
        g_answer += std::string("\n") + NorvaneElementNom(k) + '\t' + ElementText(field.elements[k], bAngle, false) +
                    '\t' + ElementText(field.elements[k + NORVANE_ELEMENTS / 2], bAngle, true) + '\t' +
                    ElementText(field.uncertainties[k], bAngle, false);
    }
    return g_answer.c_str();
}

// The declination of a model on a decimal year at n places (degrees), into
// declinations (NaN where there is none): NorvaneChampTableau, for the map's
// lines. Returns the number of places with a declination.
EMSCRIPTEN_KEEPALIVE int web_declinations(int model, double year, int n, const double* longitudes,
                                          const double* latitudes, double* declinations) {
    std::vector<double> years(n, year), elements(static_cast<size_t>(n) * NORVANE_ELEMENTS);
    std::vector<int> statuses(n);
    const size_t uResults = NorvaneChampTableau(g_data, model, n, years.data(), longitudes, latitudes, nullptr,
                                                elements.data(), nullptr, nullptr, statuses.data());
    for (int i = 0; i < n; ++i)
        declinations[i] = statuses[i] == NORVANE_RESULTAT ? elements[static_cast<size_t>(i) * NORVANE_ELEMENTS] : NAN;
    return static_cast<int>(uResults);
}

// The decimal year of a day ("2013-01-01"), NaN when it is not one.
EMSCRIPTEN_KEEPALIVE double web_decimal_year(const char* date) {
    const ParsedDate day = ParseDate(date);
    return day.m_bParsed ? NorvaneAnneeDecimale(day.m_nYear, day.m_nMonth, day.m_nDay) : NAN;
}

}  // extern "C"
