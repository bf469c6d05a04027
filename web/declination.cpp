// The web page's declination: the position read as norvane-cli reads it, the
// declination from the C interface of the calculator core (norvane.h) with
// the source chosen by the date, and the texts norvane-cli writes.
#include <emscripten/emscripten.h>

#include <string>
#include <string_view>

#include "ConsoleText.h"
#include "Declination.h"
#include "DeclinationLine.h"
#include "PlaceText.h"
#include "norvane.h"

// module.cpp's, for every field of the page.
std::string_view WithoutBlanks(std::string_view text);

namespace {

NORVANE_DONNEES* g_data = nullptr;
std::string g_answer;

// "0" and the message, one per line; the message comes in Windows-1252.
const char* Failure(const char* pszMessage1252) {
    g_answer = "0\n" + Windows1252ToUtf8(pszMessage1252);
    return g_answer.c_str();
}

std::string Text(size_t (*pfnText)(double, char*, size_t), double dValue) {
    char szText[64];
    pfnText(dValue, szText, sizeof szText);
    return szText;
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
EMSCRIPTEN_KEEPALIVE const char* web_declination(const char* latitude, const char* longitude, const char* date) {
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
    const NORVANE_DECLINAISON result = NorvaneDeclinaison(g_data, NORVANE_AUTO, day.m_nYear, day.m_nMonth,
                                                            day.m_nDay, dLongitude, dLatitude, 0.0);
    if (result.statut != NORVANE_RESULTAT) {
        g_answer = std::string("0\n") + NorvaneMessage(result.statut);
        return g_answer.c_str();
    }
    // Far from France the convergence is undefined: the declination stands,
    // the two grid fields say so, as norvane-cli's columns do.
    double dConvergence = 0.0;
    const bool bConvergence = NorvaneConvergenceLambert93(dLongitude, dLatitude, &dConvergence) != 0;
    const std::string strUndefined = Windows1252ToUtf8(kszConvergenceUndefined);
    g_answer = "1\n" + Text(NorvaneTexteDeclinaison, result.declinaison) + '\n' +
                Text(NorvaneTexteVariation, result.variation_annuelle) + '\n' +
                (result.source == NORVANE_GRILLE ? "grilles du calculateur" : "modèle IGRF-14") + '\n' +
                (bConvergence ? Text(NorvaneTexteDeclinaison, dConvergence) : strUndefined) + '\n' +
                (bConvergence ? Text(NorvaneTexteDeclinaison, result.declinaison - dConvergence) : strUndefined);
    return g_answer.c_str();
}

}  // extern "C"
