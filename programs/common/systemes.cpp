#include "systemes.h"

namespace geokern_conv {

namespace {

const std::vector<Systeme>& Catalogue() {
    static const std::vector<Systeme> systemes = [] {
        std::vector<Systeme> liste;
        for (int code = 1;; ++code) {
            const DESCRIPTION_SYSCOORD* d = DescriptionSysCoord(static_cast<Liste_SysCoord>(code));
            if (d == nullptr) break;
            const double degresParUnite = std::string_view(d->Unites) == "grades" ? 0.9 : 1.0;
            liste.push_back({static_cast<Liste_SysCoord>(code), d->Nom, d->Libelle, d->IsProjection == 0, d->Datum,
                             d->Epsg, d->Unites, degresParUnite});
        }
        return liste;
    }();
    return systemes;
}

// The engine's datums (PARAMETRES_SYSTEME_COORDONNNEES::Datum).
const int DATUM_NTF = 0;
const int DATUM_RGF93 = 2;
const char* const NOMS_DATUMS[] = {"NTF", "WGS84", "RGF93"};

}  // namespace

const std::vector<Systeme>& SYSTEMES = Catalogue();

const Systeme* SystemeDeCode(int code) {
    const std::vector<Systeme>& systemes = Catalogue();
    return code >= 1 && static_cast<std::size_t>(code) <= systemes.size() ? &systemes[code - 1] : nullptr;
}

const Systeme* TrouveSysteme(std::string_view nom) {
    if (nom.find('\0') != std::string_view::npos) return nullptr;
    return SystemeDeCode(CodeSysCoord(std::string(nom).c_str()));
}

std::string FormesDuNom() {
    return "un nom du catalogue, un code de 1 \xC3\xA0 " + std::to_string(Catalogue().size()) +
           " ou EPSG:NNNN";
}

const char* NomDuDatum(int datum) { return datum >= 0 && datum <= 2 ? NOMS_DATUMS[datum] : ""; }

bool RouteParLaGrille(const Systeme& source, const Systeme& cible) {
    return (source.datum == DATUM_NTF && cible.datum == DATUM_RGF93) ||
           (source.datum == DATUM_RGF93 && cible.datum == DATUM_NTF);
}

}  // namespace geokern_conv
