#include "ModelTable.h"

#include "Calendar.h"

#include <cctype>

#include "Igrf.h"

namespace {

// The uncertainty models of the WMM2025 and WMMHR2025 technical reports (NOAA
// NCEI and BGS, 2024), one standard error worldwide.
constexpr ModelUncertainty kWmmUncertainty{137.0, 89.0, 141.0, 133.0, 138.0, 0.20, 0.26, 5417.0};
constexpr ModelUncertainty kWmmhrUncertainty{135.0, 85.0, 134.0, 130.0, 134.0, 0.19, 0.25, 5205.0};
constexpr ModelUncertainty kNoUncertainty{0, 0, 0, 0, 0, 0, 0, 0};

constexpr ModelDescription kModels[kModelCount] = {
    {kModelIgrf, "igrf", "IGRF-14", "IGRF14.shc", 1900, 1, 1, 2030, 1, 1, false, kNoUncertainty,
     "International Geomagnetic Reference Field, 14e g\xC3\xA9n\xC3\xA9ration (AIGA, IAGA en anglais, 2024) : le champ principal, "
     "degr\xC3\xA9 13 (apr\xC3\xA8s 2025, une pr\xC3\xA9vision)"},
    {kModelWmm, "wmm", "WMM2025", "WMM2025.COF", 2025, 1, 1, 2030, 1, 1, true, kWmmUncertainty,
     "World Magnetic Model 2025 (NOAA et BGS) : le mod\xC3\xA8le des syst\xC3\xA8mes de navigation, "
     "degr\xC3\xA9 12"},
    {kModelWmmhr, "wmmhr", "WMMHR2025", "WMMHR2025.COF", 2025, 1, 1, 2030, 1, 1, true, kWmmhrUncertainty,
     "World Magnetic Model haute r\xC3\xA9solution 2025 (NOAA) : degr\xC3\xA9 133, le champ principal et le "
     "champ crustal des roches de l'\xC3\xA9" "corce jusqu'\xC3\xA0 des longueurs d'onde d'environ 300 km"},
};

}  // namespace

const ModelDescription* ModelById(int nId) { return nId >= 0 && nId < kModelCount ? &kModels[nId] : nullptr; }

const ModelDescription* ModelByKey(const std::string& strKey) {
    std::string strLower;
    for (const char c : strKey) strLower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const ModelDescription& model : kModels)
        if (strLower == model.pszKey) return &model;
    return nullptr;
}

double ModelFirstDecimalYear(const ModelDescription& model) {
    return IgrfDecimalYear(model.nFirstYear, model.nFirstMonth, model.nFirstDay);
}

double ModelLastDecimalYear(const ModelDescription& model) {
    return IgrfDecimalYear(model.nLastYear, model.nLastMonth, model.nLastDay);
}

bool IsDecimalYearInModelSpan(const ModelDescription& model, double dDecimalYear) {
    return dDecimalYear >= ModelFirstDecimalYear(model) && dDecimalYear <= ModelLastDecimalYear(model);
}

std::string ModelSpanText(const ModelDescription& model) {
    return "du " + FrenchDayText(model.nFirstYear, model.nFirstMonth, model.nFirstDay) + " au " +
           FrenchDayText(model.nLastYear, model.nLastMonth, model.nLastDay);
}
