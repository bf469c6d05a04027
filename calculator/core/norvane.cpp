// The C interface: a handle holding both sources' data, and the core's
// computation behind plain C types.
#include "norvane.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>

#include "Declination.h"
#include "DeclinationGrids.h"
#include "GridConvergence.h"
#include "Igrf.h"
#include "MagneticElements.h"
#include "ModelTable.h"
#include "geokern2.h"

struct NORVANE_DONNEES {
    DeclinationGrids grids;
    std::optional<CIgrfModel> models[kModelCount];  // by ModelId; empty when its file was not read
    const char* pszMissingGrid = nullptr;  // the first grid file not read
};

namespace {

// The interface's own messages (UTF-8, as the core's).
constexpr char kszMsgDataMissing[] = "Fichier de donn\xC3\xA9" "es introuvable";
constexpr char kszMsgSourceNotValid[] = "Source non valide : grille, mod\xC3\xA8le ou automatique";

// The grids answer for this period, the model for every other day.
bool AutoTakesGrids(int nYear, int nMonth, int nDay) { return IsDateInPeriod(nYear, nMonth, nDay); }

std::string JoinPath(const char* pszDirectory, const char* pszName) {
    std::string strPath = pszDirectory == nullptr ? "" : pszDirectory;
    if (!strPath.empty() && strPath.back() != '/' && strPath.back() != '\\') strPath += '/';
    return strPath + pszName;
}

int StatusOf(DeclinationStatus eStatus) {
    switch (eStatus) {
    case kDeclinationResult: return NORVANE_RESULTAT;
    case kDeclinationDateNotValid: return NORVANE_DATE_NON_VALIDE;
    case kDeclinationDateOutOfPeriod: return NORVANE_HORS_PERIODE_GRILLE;
    case kDeclinationOutOfZone: return NORVANE_HORS_ZONE;
    case kDeclinationModelOutOfPeriod: return NORVANE_HORS_PERIODE_MODELE;
    case kDeclinationPositionNotValid: return NORVANE_POSITION_NON_VALIDE;
    case kDeclinationPole: return NORVANE_POLE;
    case kDeclinationModelMissing: return NORVANE_DONNEES_ABSENTES;
    }
    return NORVANE_DONNEES_ABSENTES;
}

NORVANE_DECLINAISON Answer(int nStatus, int nSource) {
    NORVANE_DECLINAISON answer;
    answer.statut = nStatus;
    answer.source = nSource;
    answer.declinaison = 0.0;
    answer.variation_annuelle = 0.0;
    return answer;
}

NORVANE_DECLINAISON FromOutcome(const DeclinationOutcome& outcome, int nSource) {
    NORVANE_DECLINAISON answer = Answer(StatusOf(outcome.m_eStatus), nSource);
    if (outcome.m_eStatus == kDeclinationResult) {
        answer.declinaison = outcome.m_dDeclination;
        answer.variation_annuelle = outcome.m_dAnnualVariation;
    }
    return answer;
}

size_t CopyText(const std::string& strText, char* pszBuffer, size_t uSize) {
    if (pszBuffer != nullptr && uSize > 0) {
        if (strText.size() < uSize)
            std::memcpy(pszBuffer, strText.c_str(), strText.size() + 1);
        else
            pszBuffer[0] = '\0';
    }
    return strText.size();
}

// One point; pCache, when given, keeps the model's coefficients from one point
// to the next of the same day.
NORVANE_DECLINAISON OnePoint(const NORVANE_DONNEES* pData, int nSource, int nYear, int nMonth, int nDay,
                             double dLongitude, double dLatitude, double dAltitude, CModelDayCache* pCache) {
    if (nSource != NORVANE_AUTO && nSource != NORVANE_GRILLE && nSource != NORVANE_MODELE)
        return Answer(NORVANE_SOURCE_NON_VALIDE, nSource);
    if (!IsCalendarDate(nYear, nMonth, nDay)) return Answer(NORVANE_DATE_NON_VALIDE, nSource);
    if (nSource == NORVANE_AUTO) nSource = AutoTakesGrids(nYear, nMonth, nDay) ? NORVANE_GRILLE : NORVANE_MODELE;
    if (!IsModelPositionValid(dLongitude, dLatitude, dAltitude)) return Answer(NORVANE_POSITION_NON_VALIDE, nSource);
    if (pData == nullptr) return Answer(NORVANE_DONNEES_ABSENTES, nSource);

    if (nSource == NORVANE_GRILLE) {
        if (pData->pszMissingGrid != nullptr) return Answer(NORVANE_DONNEES_ABSENTES, nSource);
        return FromOutcome(DeclinationAtPlace(kSourceGrid, true, nYear, nMonth, nDay, dLongitude, dLatitude,
                                              dAltitude, pData->grids, &SysCoord2SysCoord, nullptr),
                           nSource);
    }
    const std::optional<CIgrfModel>& model = pData->models[kModelIgrf];
    if (!model) return Answer(NORVANE_DONNEES_ABSENTES, nSource);
    return FromOutcome(DeclinationAtPlace(kSourceModel, true, nYear, nMonth, nDay, dLongitude, dLatitude, dAltitude,
                                          pData->grids, &SysCoord2SysCoord, &*model, pCache),
                       nSource);
}

// The arrays of the two array entries, apart from the days.
struct Points {
    const double *pdLongitudes, *pdLatitudes, *pdAltitudes;
    double *pdDeclinations, *pdVariations;
    int *pnStatuses, *pnSources;
};

// Every point in order, one snapshot of the model kept while the day stays.
template <typename DayOf>
size_t Fill(const NORVANE_DONNEES* pData, int nSource, size_t n, const Points& points, DayOf dayOf) {
    CModelDayCache cache;
    size_t uResults = 0;
    for (size_t i = 0; i < n; ++i) {
        int nYear = 0, nMonth = 0, nDay = 0;
        dayOf(i, &nYear, &nMonth, &nDay);
        const double dAltitude = points.pdAltitudes == nullptr ? 0.0 : points.pdAltitudes[i];
        const NORVANE_DECLINAISON answer = OnePoint(pData, nSource, nYear, nMonth, nDay, points.pdLongitudes[i],
                                                    points.pdLatitudes[i], dAltitude, &cache);
        if (points.pdDeclinations != nullptr) points.pdDeclinations[i] = answer.declinaison;
        if (points.pdVariations != nullptr) points.pdVariations[i] = answer.variation_annuelle;
        if (points.pnStatuses != nullptr) points.pnStatuses[i] = answer.statut;
        if (points.pnSources != nullptr) points.pnSources[i] = answer.source;
        uResults += answer.statut == NORVANE_RESULTAT;
    }
    return uResults;
}

// The statuses of the model's outcomes.
const DeclinationStatus kModelStatuses[] = {kDeclinationModelOutOfPeriod, kDeclinationModelMissing};

// One point of NorvaneChampTableau.
int FieldPoint(const std::optional<CIgrfModel>* pModel, double dYear, double dLongitude, double dLatitude,
               double dAltitude, CModelDayCache* pCache, FieldOutcome* pOutcome) {
    if (pModel == nullptr) return NORVANE_SOURCE_NON_VALIDE;
    if (std::isnan(dYear)) return NORVANE_DATE_NON_VALIDE;
    *pOutcome = FieldAtPlace(*pModel ? &**pModel : nullptr, dYear, dLongitude, dLatitude, dAltitude, pCache);
    return StatusOf(pOutcome->m_eStatus);
}

// Days since 1970-01-01 are kept within 100,000 years, which an int holds:
// every day beyond is outside both periods as the limit is.
constexpr int64_t kDayNumberLimit = 365LL * 100000;

}  // namespace

extern "C" {

NORVANE_DONNEES* NorvaneOuvre(const char* repertoire) {
    NORVANE_DONNEES* pData = new (std::nothrow) NORVANE_DONNEES();
    if (pData == nullptr) return nullptr;
    // A grid file cut short or holding something else than numbers is as
    // good as missing: its nodes would be out of zone where the calculator
    // has a declination.
    struct GridFile {
        const char* pszName;
        float* pValues;
        bool* pbReceived;
    };
    const GridFile files[] = {{kszEpochGridFile, pData->grids.declinationAtEpoch, pData->grids.epochReceived},
                              {kszVariationGridFile, pData->grids.annualVariation, pData->grids.variationReceived}};
    for (const GridFile& file : files) {
        int nRecords = 0;
        if (!LoadGridFile(JoinPath(repertoire, file.pszName).c_str(), file.pValues, file.pbReceived, &nRecords) ||
            nRecords < kGridNodes) {
            pData->pszMissingGrid = file.pszName;
            break;
        }
    }
    for (int nModel = 0; nModel < kModelCount; ++nModel) {
        const ModelDescription& description = *ModelById(nModel);
        try {
            pData->models[nModel] = CIgrfModel::Load(JoinPath(repertoire, description.pszFile), description);
        } catch (const std::exception&) {
            pData->models[nModel].reset();
        }
    }
    return pData;
}

void NorvaneFerme(NORVANE_DONNEES* donnees) { delete donnees; }

const char* NorvaneFichierManquant(const NORVANE_DONNEES* donnees, int source) {
    if (source == NORVANE_GRILLE || source == NORVANE_AUTO) {
        if (donnees == nullptr) return kszEpochGridFile;
        if (donnees->pszMissingGrid != nullptr) return donnees->pszMissingGrid;
    }
    if (source == NORVANE_MODELE || source == NORVANE_AUTO) {
        if (donnees == nullptr || !donnees->models[kModelIgrf]) return ModelById(kModelIgrf)->pszFile;
    }
    return nullptr;
}

NORVANE_DECLINAISON NorvaneDeclinaison(const NORVANE_DONNEES* donnees, int source, int annee, int mois, int jour,
                                       double longitude, double latitude, double altitude) {
    return OnePoint(donnees, source, annee, mois, jour, longitude, latitude, altitude, nullptr);
}

size_t NorvaneDeclinaisonTableau(const NORVANE_DONNEES* donnees, int source, size_t n, const int* annees,
                                 const int* mois, const int* jours, const double* longitudes,
                                 const double* latitudes, const double* altitudes, double* declinaisons,
                                 double* variations, int* statuts, int* sources) {
    const Points points{longitudes, latitudes, altitudes, declinaisons, variations, statuts, sources};
    return Fill(donnees, source, n, points, [&](size_t i, int* pnYear, int* pnMonth, int* pnDay) {
        *pnYear = annees[i];
        *pnMonth = mois[i];
        *pnDay = jours[i];
    });
}

size_t NorvaneDeclinaisonTableauJours(const NORVANE_DONNEES* donnees, int source, size_t n,
                                      const int64_t* jours_depuis_1970, const double* longitudes,
                                      const double* latitudes, const double* altitudes, double* declinaisons,
                                      double* variations, int* statuts, int* sources) {
    const Points points{longitudes, latitudes, altitudes, declinaisons, variations, statuts, sources};
    return Fill(donnees, source, n, points, [&](size_t i, int* pnYear, int* pnMonth, int* pnDay) {
        // Days beyond the limit are outside both periods as the limit is.
        const int64_t nDays = std::clamp(jours_depuis_1970[i], -kDayNumberLimit, kDayNumberLimit);
        CalendarDateFromDayNumber(nDays, pnYear, pnMonth, pnDay);
    });
}

const char* NorvaneMessage(int statut) {
    // Made once, then read-only: thread-safe initialisation of a local static.
    static const struct Messages {
        std::string texts[NORVANE_SOURCE_NON_VALIDE + 1];
        Messages() {
            texts[NORVANE_DATE_NON_VALIDE] = kszMsgDateNotValid;
            texts[NORVANE_HORS_PERIODE_GRILLE] = PeriodMessageOnOneLine();
            texts[NORVANE_HORS_PERIODE_MODELE] = OutcomeMessage(kDeclinationModelOutOfPeriod, ModelById(kModelIgrf));
            texts[NORVANE_HORS_ZONE] = kszMsgOutOfZone;
            texts[NORVANE_POSITION_NON_VALIDE] = kszMsgPositionNotValid;
            texts[NORVANE_POLE] = kszMsgPole;
            texts[NORVANE_DONNEES_ABSENTES] = kszMsgDataMissing;
            texts[NORVANE_SOURCE_NON_VALIDE] = kszMsgSourceNotValid;
        }
    } messages;
    if (statut <= NORVANE_RESULTAT || statut > NORVANE_SOURCE_NON_VALIDE) return nullptr;
    return messages.texts[statut].c_str();
}

size_t NorvaneTexteDeclinaison(double degres, char* tampon, size_t taille) {
    return CopyText(FormatDeclination(degres), tampon, taille);
}

size_t NorvaneTexteVariation(double degres_par_an, char* tampon, size_t taille) {
    return CopyText(FormatAnnualVariation(degres_par_an), tampon, taille);
}

int NorvaneModele(const char* cle) {
    const ModelDescription* pModel = cle == nullptr ? nullptr : ModelByKey(cle);
    return pModel == nullptr ? -1 : pModel->eId;
}

const char* NorvaneModeleCle(int modele) { return ModelById(modele) ? ModelById(modele)->pszKey : nullptr; }
const char* NorvaneModeleNom(int modele) { return ModelById(modele) ? ModelById(modele)->pszName : nullptr; }
const char* NorvaneModeleFichier(int modele) { return ModelById(modele) ? ModelById(modele)->pszFile : nullptr; }
const char* NorvaneModeleDescription(int modele) {
    return ModelById(modele) ? ModelById(modele)->pszAbout : nullptr;
}

const char* NorvaneModelePeriode(int modele) {
    static const struct Spans {
        std::string texts[kModelCount];
        Spans() {
            for (int nModel = 0; nModel < kModelCount; ++nModel) texts[nModel] = ModelSpanText(*ModelById(nModel));
        }
    } spans;
    return ModelById(modele) ? spans.texts[modele].c_str() : nullptr;
}

const char* NorvanePeriodeGrilles(int iso) {
    static const std::string strText = GridPeriodText(), strIso = GridPeriodIso();
    return iso ? strIso.c_str() : strText.c_str();
}

double NorvaneModeleDebut(int modele) {
    return ModelById(modele) ? ModelFirstDecimalYear(*ModelById(modele)) : std::numeric_limits<double>::quiet_NaN();
}

double NorvaneModeleFin(int modele) {
    return ModelById(modele) ? ModelLastDecimalYear(*ModelById(modele)) : std::numeric_limits<double>::quiet_NaN();
}

double NorvaneAnneeDecimale(int annee, int mois, int jour) {
    if (!IsCalendarDate(annee, mois, jour)) return std::numeric_limits<double>::quiet_NaN();
    return IgrfDecimalYear(annee, mois, jour);
}

double NorvaneAnneeDecimaleJours(int64_t jours_depuis_1970) {
    int nYear = 0, nMonth = 0, nDay = 0;
    CalendarDateFromDayNumber(std::clamp(jours_depuis_1970, -kDayNumberLimit, kDayNumberLimit), &nYear, &nMonth, &nDay);
    return IgrfDecimalYear(nYear, nMonth, nDay);
}

const char* NorvaneElementNom(int k) { return k >= 0 && k < NORVANE_ELEMENTS ? kszElementNames[k] : nullptr; }

const char* NorvaneZoneTexte(int zone) {
    if (zone != NORVANE_ZONE_PRUDENCE && zone != NORVANE_ZONE_INUTILISABLE) return nullptr;
    return PoleZoneText(static_cast<PoleZone>(zone));
}

size_t NorvaneChampTableau(const NORVANE_DONNEES* donnees, int modele, size_t n, const double* annees,
                           const double* longitudes, const double* latitudes, const double* altitudes,
                           double* elements, double* incertitudes, int* zones, int* statuts) {
    const std::optional<CIgrfModel>* pModel = nullptr;
    static const std::optional<CIgrfModel> s_noModel;
    if (ModelById(modele) != nullptr) pModel = donnees != nullptr ? &donnees->models[modele] : &s_noModel;
    CModelDayCache cache;
    size_t uResults = 0;
    for (size_t i = 0; i < n; ++i) {
        FieldOutcome outcome;
        const double dAltitude = altitudes == nullptr ? 0.0 : altitudes[i];
        const int nStatus = FieldPoint(pModel, annees[i], longitudes[i], latitudes[i], dAltitude, &cache, &outcome);
        const bool bResult = nStatus == NORVANE_RESULTAT;
        uResults += bResult;
        if (statuts != nullptr) statuts[i] = nStatus;
        if (elements != nullptr)
            for (int k = 0; k < NORVANE_ELEMENTS; ++k) elements[NORVANE_ELEMENTS * i + k] = bResult ? outcome.m_dElements[k] : 0.0;
        if (incertitudes != nullptr)
            for (int k = 0; k < NORVANE_INCERTITUDES; ++k)
                incertitudes[NORVANE_INCERTITUDES * i + k] = !bResult ? 0.0
                                                             : outcome.m_bUncertainty ? outcome.m_dUncertainties[k]
                                                                                      : std::numeric_limits<double>::quiet_NaN();
        if (zones != nullptr) zones[i] = bResult ? static_cast<int>(outcome.m_eZone) : NORVANE_ZONE_NORMALE;
    }
    return uResults;
}

const char* NorvaneMessageModele(int statut, int modele) {
    static const struct Messages {
        std::string texts[kModelCount][2];
        Messages() {
            for (int nModel = 0; nModel < kModelCount; ++nModel)
                for (int k = 0; k < 2; ++k) texts[nModel][k] = OutcomeMessage(kModelStatuses[k], ModelById(nModel));
        }
    } messages;
    if (ModelById(modele) != nullptr) {
        if (statut == NORVANE_HORS_PERIODE_MODELE) return messages.texts[modele][0].c_str();
        if (statut == NORVANE_DONNEES_ABSENTES) return messages.texts[modele][1].c_str();
    }
    return NorvaneMessage(statut);
}

int NorvaneConvergenceLambert93(double longitude, double latitude, double* degres) {
    COORDONNEES_TYPE_NC point;
    point.x_lambda = longitude;
    point.y_phi = latitude;
    double dDegrees = 0.0;
    if (!Lambert93Convergence(point, WGS84GG, &SysCoord2SysCoord, &dDegrees)) return 0;
    if (degres != nullptr) *degres = dDegrees;
    return 1;
}

}  // extern "C"
