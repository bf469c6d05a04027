// The web page's declination: the position read as norvane-cli reads it, the
// declination from the C interface of the calculator core (norvane.h) with
// the source chosen by the date, and the texts norvane-cli writes.
#include <emscripten/emscripten.h>

#include <string>

#include "ConsoleText.h"
#include "Declination.h"
#include "DeclinationLine.h"
#include "PlaceText.h"
#include "norvane.h"

namespace {

NORVANE_DONNEES* g_donnees = nullptr;
std::string g_reponse;

// "0" and the message, one per line; the message comes in Windows-1252.
const char* Echec(const char* pszMessage1252) {
    g_reponse = "0\n" + Windows1252ToUtf8(pszMessage1252);
    return g_reponse.c_str();
}

std::string Texte(size_t (*pfnTexte)(double, char*, size_t), double dValeur) {
    char szTexte[64];
    pfnTexte(dValeur, szTexte, sizeof szTexte);
    return szTexte;
}

}  // namespace

extern "C" {

// Reads the data files from a directory of the module's file system. Returns
// the name of a missing file, or "" when all are there.
EMSCRIPTEN_KEEPALIVE const char* web_ouvre(const char* repertoire) {
    NorvaneFerme(g_donnees);
    g_donnees = NorvaneOuvre(repertoire);
    const char* manquant = NorvaneFichierManquant(g_donnees, NORVANE_AUTO);
    return manquant != nullptr ? manquant : "";
}

// The declination at a place (latitude and longitude texts) on a day
// ("2013-01-01"), from the grids from 2009-01-01 to 2015-12-31 and from the
// model on other days. Returns "1" then the declination, the annual variation,
// the source, the Lambert 93 convergence and the angle from grid north to
// magnetic north; or "0" then the message. One text per line, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* web_declinaison(const char* latitude, const char* longitude, const char* date) {
    // The position first, as the window validates its fields before the date.
    ParsedAngle lon, lat;
    if (const char* pszMessage = ReadGeographicPosition(longitude, latitude, true, &lon, &lat))
        return Echec(pszMessage);
    const ParsedDate jour = ParseDate(date);
    if (!jour.m_bParsed) return Echec(kszMsgDateNotValid);
    const double dLongitude = SignedDegrees(lon), dLatitude = SignedDegrees(lat);
    const NORVANE_DECLINAISON resultat = NorvaneDeclinaison(g_donnees, NORVANE_AUTO, jour.m_nYear, jour.m_nMonth,
                                                            jour.m_nDay, dLongitude, dLatitude, 0.0);
    if (resultat.statut != NORVANE_RESULTAT) {
        g_reponse = std::string("0\n") + NorvaneMessage(resultat.statut);
        return g_reponse.c_str();
    }
    double dConvergence = 0.0;
    if (!NorvaneConvergenceLambert93(dLongitude, dLatitude, &dConvergence))
        return Echec(DeclinationMessage(kDeclinationOutOfZone));
    g_reponse = "1\n" + Texte(NorvaneTexteDeclinaison, resultat.declinaison) + '\n' +
                Texte(NorvaneTexteVariation, resultat.variation_annuelle) + '\n' +
                (resultat.source == NORVANE_GRILLE ? "grilles du calculateur" : "modèle IGRF-14") + '\n' +
                Texte(NorvaneTexteDeclinaison, dConvergence) + '\n' +
                Texte(NorvaneTexteDeclinaison, resultat.declinaison - dConvergence);
    return g_reponse.c_str();
}

}  // extern "C"
