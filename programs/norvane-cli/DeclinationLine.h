// One place and date of norvane-cli: read, handed to the calculator's own
// computation, and written as a line of tab-separated columns.
#ifndef NORVANE_CLI_DECLINATIONLINE_H
#define NORVANE_CLI_DECLINATIONLINE_H

#include <string>
#include <string_view>

#include "Declination.h"
#include "DeclinationGrids.h"
#include "Igrf.h"
#include "PlaceText.h"
#include "geokern2.h"

struct CliOptions {
    Liste_SysCoord m_eSystem = WGS84GG;     // system of the positions
    bool m_bNumbers = false;                // plain numbers instead of the window's texts
    bool m_bConvergence = false;            // the two columns for Lambert 93 maps
    DeclinationSource m_eSource = kSourceGrid;
    double m_dAltitudeMetres = 0.0;         // the model's altitude above the ellipsoid
    ModelId m_eModel = kModelIgrf;          // the model of --modele
    bool m_bElements = false;               // the fourteen columns of every element and rate
    bool m_bUncertainty = false;            // the model's uncertainties after them
    bool m_bZone = false;                   // the pole-zone column (with any of the three above)
};

// What the places are computed from: the calculator's grids, and the model
// (null when it was not loaded) with the coefficients of the last day asked,
// so that the lines of one day compute them once.
class PlaceSources {
public:
    PlaceSources(const DeclinationGrids& grids, const CIgrfModel* pModel) : m_grids(grids), m_pModel(pModel) {}
    // DeclinationAtPlace at a WGS84 position (signed decimal degrees).
    DeclinationOutcome At(DeclinationSource eSource, bool bDateParsed, int nYear, int nMonth, int nDay,
                          double dLongitude, double dLatitude, double dAltitudeMetres);
    const DeclinationGrids& Grids() const { return m_grids; }
    // FieldAtPlace of the model on a day or at a decimal year (a day that does
    // not exist: kDeclinationDateNotValid).
    FieldOutcome Field(const ParsedDate& date, double dLongitude, double dLatitude, double dAltitudeMetres);
    const CIgrfModel* Model() const { return m_pModel; }

private:
    const DeclinationGrids& m_grids;
    const CIgrfModel* m_pModel;
    CModelDayCache m_modelDay;  // the model's coefficients, kept from line to line of one day
};

// Decimals of the plain numbers.
constexpr int kNumberDecimals = 6;

// Either the columns or the message, in UTF-8.
struct PlaceResult {
    bool m_bOk = false;
    bool m_bOutOfGridPeriod = false;  // the grids' period message: the model would answer
    std::string m_strColumns;  // "declination\tvariation[\tconvergence\tangle]"
    std::string m_strMessage;
};

// The place given as three texts: date, then x and y of the system (longitude
// and latitude for a geographic one). With bOrderByLetters, hemisphere letters
// may put the latitude first ("47.2N 1.5W").
PlaceResult DeclinationForPlace(std::string_view date, std::string_view x, std::string_view y, bool bOrderByLetters,
                                const CliOptions& options, PlaceSources& sources);

// A WGS84 position given as two texts, longitude then latitude, in any form
// ParseAngle reads; with bOrderByLetters, hemisphere letters may put the
// latitude first. Returns nullptr and the two angles, or the message
// (UTF-8) of the first field that cannot be used.
const char* ReadGeographicPosition(std::string_view x, std::string_view y, bool bOrderByLetters,
                                   ParsedAngle* pLongitude, ParsedAngle* pLatitude);

// An input line cut into date, x, y and the rest (from the first character of
// a fourth field to the end). Fields are separated by white space, ';' or ','
// (a comma only as programs::CommaSeparatesFields says). A lone hemisphere
// letter after a number joins it ("47.2 N").
struct PlaceLine {
    bool m_bComplete = false;  // three fields found
    bool m_bDecimalComma = false;  // a decimal comma in the position (programs::JoinedByDecimalComma)
    std::string_view m_date, m_x, m_y, m_rest;
};
PlaceLine SplitPlaceLine(std::string_view line);

// Lines that pass through unchanged: empty, blank, or a comment starting with '#'.
bool IsPassThroughLine(std::string_view line);

// The columns written in place of the results of a failed line.
std::string MarkerColumns(const CliOptions& options);


// Messages of this program (UTF-8).
constexpr char kszMsgIncompleteLine[] = "Ligne incompl\xC3\xA8te : une date, puis deux coordonn\xC3\xA9" "es";
constexpr char kszMsgLongitudeNotValid[] = "Longitude non valide";
constexpr char kszMsgLatitudeNotValid[] = "Latitude non valide";
constexpr char kszMsgEastingNotValid[] = "Abscisse non valide";
constexpr char kszMsgNorthingNotValid[] = "Ordonn\xC3\xA9" "e non valide";
constexpr char kszMsgDecimalComma[] = "Virgule d\xC3\xA9" "cimale ? Le s\xC3\xA9parateur d\xC3\xA9" "cimal est le point";
constexpr char kszMsgHemispheres[] = "Lettres d'h\xC3\xA9misph\xC3\xA8re incompatibles";
constexpr char kszMsgFarFromOrigin[] =
    "Position hors du domaine du syst\xC3\xA8me : \xC3\xA0 plus de 10 000 km de l'origine de ses coordonn\xC3\xA9" "es";
// In both convergence columns where Lambert 93 has no convergence worth giving.
constexpr char kszConvergenceUndefined[] = "non d\xC3\xA9" "finie";

#endif
