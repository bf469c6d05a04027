// The web page's WebAssembly module: what the page and its worker call, over
// the engine, the calculator core and the command-line programs' own text
// handling. Texts cross the boundary in UTF-8; a result stays valid until the
// next call of the same function. The page's script (page.js) owns the calls.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "carte_cadre.h"
#include "conversion.h"
#include "interne.h"
#include "systemes.h"

namespace {

using geokern_conv::ConvertisseurLignes;
using geokern_conv::EntreeLignes;
using geokern_conv::Issue;
using geokern_conv::Systeme;
using geokern_conv::TrouveSysteme;

// ---- One point, by geokern-conv's rules for one line -----------------------

std::string g_resultatX, g_resultatY, g_messagePoint;

// A field holding a separator would make the line hold more than two numbers.
bool ChampSimple(std::string_view champ) { return champ.find_first_of(" \t;") == std::string_view::npos; }

std::string_view SansBlancs(std::string_view texte) {
    while (!texte.empty() && (texte.front() == ' ' || texte.front() == '\t')) texte.remove_prefix(1);
    while (!texte.empty() && (texte.back() == ' ' || texte.back() == '\t')) texte.remove_suffix(1);
    return texte;
}

// ---- A whole file, fed in pieces --------------------------------------------

// The first failures of a file, one per line: "ligne N : reason".
class RapportFichier : public geokern_conv::Rapporteur {
public:
    static constexpr int kMaximum = 100;
    void Echec(std::uint64_t ligne, const char* raison) override {
        if (nombre_++ < kMaximum) texte_ += "ligne " + std::to_string(ligne) + " : " + raison + "\n";
    }
    const std::string& Texte() const { return texte_; }

private:
    int nombre_ = 0;
    std::string texte_;
};

struct Fichier {
    Fichier(const Systeme& source, const Systeme& cible, bool precision, bool entete)
        : convertisseur(source, cible, precision), entree(convertisseur, entete, rapport) {}
    RapportFichier rapport;
    ConvertisseurLignes convertisseur;
    EntreeLignes entree;
    std::string sortie;
};
Fichier* g_fichier = nullptr;

}  // namespace

extern "C" {

// The catalogue for the page's lists: name and description of system 1 to 12.
EMSCRIPTEN_KEEPALIVE const char* web_systeme_nom(int code) {
    const Systeme* systeme = geokern_conv::SystemeDeCode(code);
    return systeme != nullptr ? systeme->nom : "";
}
EMSCRIPTEN_KEEPALIVE const char* web_systeme_description(int code) {
    const Systeme* systeme = geokern_conv::SystemeDeCode(code);
    return systeme != nullptr ? systeme->description : "";
}

// One point from the system named source to the one named cible: 1 when it was
// converted (web_resultat_x and _y hold the texts geokern-conv writes), 0
// otherwise (both results are its failure marker and web_message says why).
EMSCRIPTEN_KEEPALIVE int web_convertir_point(const char* source, const char* cible, const char* x, const char* y) {
    const Systeme* systemeSource = TrouveSysteme(source);
    const Systeme* systemeCible = TrouveSysteme(cible);
    const std::string_view champX = SansBlancs(x), champY = SansBlancs(y);
    g_resultatX.assign(1, geokern_conv::MARQUE_ECHEC);
    g_resultatY.assign(1, geokern_conv::MARQUE_ECHEC);
    if (systemeSource == nullptr || systemeCible == nullptr) {
        g_messagePoint = "système inconnu";
        return 0;
    }
    if (!ChampSimple(champX) || !ChampSimple(champY)) {
        g_messagePoint = "un seul nombre par champ";
        return 0;
    }
    // The line "x<tab>y": the tab makes a comma a decimal comma, refused.
    const std::string ligne = std::string(champX) + '\t' + std::string(champY);
    ConvertisseurLignes convertisseur(*systemeSource, *systemeCible, false);
    std::string sortie;
    const geokern_conv::Bilan bilan = convertisseur.Convertit(ligne, sortie);
    if (bilan.issue == Issue::Recopiee) {  // an empty or '#' first field
        g_messagePoint = champX.empty() ? "premier nombre manquant" : "premier nombre illisible";
        return 0;
    }
    if (bilan.issue == Issue::Echec) {
        g_messagePoint = bilan.raison;
        return 0;
    }
    const std::size_t tab = sortie.find('\t');
    g_resultatX = sortie.substr(0, tab);
    g_resultatY = sortie.substr(tab + 1);
    g_messagePoint.clear();
    return 1;
}
EMSCRIPTEN_KEEPALIVE const char* web_resultat_x() { return g_resultatX.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_resultat_y() { return g_resultatY.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_message_point() { return g_messagePoint.c_str(); }

// The same transformation over arrays of n points (x then y of the source
// system, in its units), in place: the engine's array function. Returns the
// number of failed points, which come back as the failure pair.
EMSCRIPTEN_KEEPALIVE int web_convertir_tableaux(double* x, double* y, int n, int source, int cible) {
    return SysCoord2SysCoordTableau(x, y, x, y, n, static_cast<Liste_SysCoord>(source),
                                    static_cast<Liste_SysCoord>(cible));
}

// A file: begin, feed pieces of any size (each call's output replaces the
// previous one), end; then the counts and the first failures.
EMSCRIPTEN_KEEPALIVE int web_fichier_debut(const char* source, const char* cible, int precision, int entete) {
    delete g_fichier;
    g_fichier = nullptr;
    const Systeme* systemeSource = TrouveSysteme(source);
    const Systeme* systemeCible = TrouveSysteme(cible);
    if (systemeSource == nullptr || systemeCible == nullptr) return 0;
    g_fichier = new Fichier(*systemeSource, *systemeCible, precision != 0, entete != 0);
    return 1;
}
EMSCRIPTEN_KEEPALIVE int web_fichier_ajoute(const char* donnees, int taille) {
    g_fichier->sortie.clear();
    g_fichier->entree.Ajoute(donnees, static_cast<std::size_t>(taille), g_fichier->sortie);
    return static_cast<int>(g_fichier->sortie.size());
}
EMSCRIPTEN_KEEPALIVE int web_fichier_termine() {
    g_fichier->sortie.clear();
    g_fichier->entree.Termine(g_fichier->sortie);
    return static_cast<int>(g_fichier->sortie.size());
}
EMSCRIPTEN_KEEPALIVE const char* web_fichier_sortie() { return g_fichier->sortie.data(); }
EMSCRIPTEN_KEEPALIVE double web_fichier_lignes() { return static_cast<double>(g_fichier->entree.Lignes()); }
EMSCRIPTEN_KEEPALIVE double web_fichier_echecs() { return static_cast<double>(g_fichier->entree.Echecs()); }
EMSCRIPTEN_KEEPALIVE const char* web_fichier_rapport() { return g_fichier->rapport.Texte().c_str(); }

// A point of the declination map's bitmap (pixels from its top left corner)
// as WGS84 longitude and latitude in degrees: 1 inside the map's frame, 0
// outside. The map is in Mercator on the WGS84 ellipsoid: the longitude is
// linear across the frame, the isometric latitude linear down it.
EMSCRIPTEN_KEEPALIVE int web_carte_position(double px, double py, double* longitude, double* latitude) {
    const double u = (px - kCadreGauche) / (kCadreDroite - kCadreGauche);
    const double v = (kCadreBas - py) / (kCadreBas - kCadreHaut);
    if (!(u >= 0.0 && u <= 1.0 && v >= 0.0 && v <= 1.0)) return 0;
    const double e = ConstantesSysCoord(WGS84GG)->ellipsoide_Excentricite;
    const double isoSud = LatitudeIso(degre2radian(kCarteSud), e);
    const double isoNord = LatitudeIso(degre2radian(kCarteNord), e);
    *longitude = kCarteOuest + u * (kCarteEst - kCarteOuest);
    *latitude = radian2degre(LatitudeIsoInverse(isoSud + v * (isoNord - isoSud), e));
    return 1;
}
EMSCRIPTEN_KEEPALIVE int web_carte_largeur() { return kCarteLargeur; }
EMSCRIPTEN_KEEPALIVE int web_carte_hauteur() { return kCarteHauteur; }

}  // extern "C"
