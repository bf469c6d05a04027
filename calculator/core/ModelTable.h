// The main-field models the core evaluates, as data: for each its name, its
// coefficient file, the span of dates it answers for and, where its makers
// publish one, its uncertainty. Every program, the C interface, the page and
// the Python package take these from here.
#ifndef NORVANE_MODELTABLE_H
#define NORVANE_MODELTABLE_H

#include <string>

// The models, in the order of the table (and of the C interface's codes).
enum ModelId { kModelIgrf = 0, kModelWmm = 1, kModelWmmhr = 2, kModelCount = 3 };

// One standard error of the model worldwide, from its technical report: nT
// for the intensities and components, degrees for I; the declination's
// depends on H: sqrt(dD0^2 + (dDH / H)^2) degrees, H in nT.
struct ModelUncertainty {
    double dX, dY, dZ, dH, dF, dI, dD0, dDH;
};

struct ModelDescription {
    ModelId eId;
    const char* pszKey;    // the name on command lines and in the page: "igrf", "wmm", "wmmhr"
    const char* pszName;   // "IGRF-14", "WMM2025", "WMMHR2025"
    const char* pszFile;   // the coefficient file, looked for beside the grids
    int nFirstYear, nFirstMonth, nFirstDay;  // the span, both days included
    int nLastYear, nLastMonth, nLastDay;
    bool bHasUncertainty;
    ModelUncertainty uncertainty;
    const char* pszAbout;  // what it is, in French (UTF-8), for help texts and the page
};

// The row of a model; nullptr for a code outside the table.
const ModelDescription* ModelById(int nId);
// The row of a key ("igrf", "wmm", "wmmhr", case ignored); nullptr otherwise.
const ModelDescription* ModelByKey(const std::string& strKey);

// The span as decimal years (IgrfDecimalYear of its first and last days).
double ModelFirstDecimalYear(const ModelDescription& model);
double ModelLastDecimalYear(const ModelDescription& model);
// Whether a decimal year lies in the span (false for NaN).
bool IsDecimalYearInModelSpan(const ModelDescription& model, double dDecimalYear);
// "du 1er janvier 2025 au 1er janvier 2030" (UTF-8).
std::string ModelSpanText(const ModelDescription& model);

#endif
