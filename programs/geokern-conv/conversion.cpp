#include "conversion.h"

#include <cstring>

#include "Numbers.h"
#include "PointDomain.h"

namespace geokern_conv {

namespace {

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

std::string_view SansPlus(std::string_view champ) {
    return !champ.empty() && champ.front() == '+' ? champ.substr(1) : champ;
}

const char* RaisonIllisible(std::string_view champ, bool premier) {
    if (champ.find(',') != std::string_view::npos)
        return premier ? "virgule dans le premier nombre (le séparateur décimal est le point)"
                       : "virgule dans le second nombre (le séparateur décimal est le point)";
    return premier ? "premier nombre illisible" : "second nombre illisible";
}

}  // namespace

ConvertisseurLignes::ConvertisseurLignes(const Systeme& source, const Systeme& cible, bool precision)
    : source_(source), cible_(cible), precision_(precision) {}

Bilan ConvertisseurLignes::Convertit(std::string_view ligne, std::string& sortie) {
    const std::size_t n = ligne.size();
    std::size_t i = 0;
    while (i < n && EstBlanc(ligne[i])) ++i;
    if (i == n || ligne[i] == '#') {
        sortie.append(ligne);
        return {Issue::Recopiee, nullptr};
    }

    // In a line holding a ';' or a tab (after its indentation), the comma separates nothing: it can only
    // be a decimal comma, and the field holding it is refused.
    const bool virgule_separe = programs::CommaSeparatesFields(ligne);
    auto separe = [virgule_separe](char c) { return EstBlanc(c) || c == ';' || (c == ',' && virgule_separe); };

    // prefixe | x | milieu | y | suite
    std::size_t fin_x = i;
    while (fin_x < n && !separe(ligne[fin_x])) ++fin_x;
    std::size_t debut_y = fin_x;
    while (debut_y < n && EstBlanc(ligne[debut_y])) ++debut_y;
    if (debut_y < n && (ligne[debut_y] == ';' || (ligne[debut_y] == ',' && virgule_separe))) {
        ++debut_y;
        while (debut_y < n && EstBlanc(ligne[debut_y])) ++debut_y;
    }
    std::size_t fin_y = debut_y;
    while (fin_y < n && !separe(ligne[fin_y])) ++fin_y;

    const std::string_view prefixe = ligne.substr(0, i);
    const std::string_view champ_x = ligne.substr(i, fin_x - i);
    const std::string_view milieu = ligne.substr(fin_x, debut_y - fin_x);
    const std::string_view champ_y = ligne.substr(debut_y, fin_y - debut_y);
    const std::string_view suite = ligne.substr(fin_y);

    // The separator of the appended columns: the one between the numbers.
    char separateur = ' ';
    if (milieu.find(';') != std::string_view::npos)
        separateur = ';';
    else if (milieu.find(',') != std::string_view::npos)
        separateur = ',';
    else if (milieu.find('\t') != std::string_view::npos)
        separateur = '\t';

    if (champ_x.empty()) return Echec(prefixe, milieu, suite, separateur, "premier nombre manquant", sortie);
    if (champ_y.empty()) return Echec(prefixe, milieu, suite, separateur, "second nombre manquant", sortie);
    double x, y;
    if (!programs::ReadNumber(champ_x, &x)) return Echec(prefixe, milieu, suite, separateur, RaisonIllisible(champ_x, true), sortie);
    if (!programs::ReadNumber(champ_y, &y)) return Echec(prefixe, milieu, suite, separateur, RaisonIllisible(champ_y, false), sortie);
    // "2,35 48,85": numbers joined by a bare comma, and the next field cut
    // elsewhere than at a comma. Read as CSV it would be the point (2, 35).
    if (programs::JoinedByDecimalComma(milieu, suite))
        return Echec(prefixe, milieu, suite, separateur,
                     "virgule entre deux nombres sans autre virgule après (virgule décimale ?)", sortie);
    // A latitude beyond the pole, a projected point far outside its system: refused before the engine
    // (which would answer). The engine's own marker keeps its message.
    if (x != GEOKERN_ECHEC) {
        if (const char* refus = programs::PointVerdictText(programs::CheckPoint(source_.geographique, x, y)))
            return Echec(prefixe, milieu, suite, separateur, refus, sortie);
    }

    // The engine reads the text and writes the result: one owner of the format.
    texte_.assign(SansPlus(champ_x));
    texte_.push_back('@');
    texte_.append(SansPlus(champ_y));
    const char* resultat = CSysCoord2SysCoord(texte_.c_str(), source_.code, cible_.code);
    if (resultat[0] == '\0') return Echec(prefixe, milieu, suite, separateur, RaisonEchecMoteur(x, y), sortie);
    const char* arobase = std::strchr(resultat, '@');
    // A result that is not a number ("nan", "inf"): the point lies where the
    // projection formulas break down.
    if (arobase == nullptr || std::strpbrk(resultat, "nNiI") != nullptr)
        return Echec(prefixe, milieu, suite, separateur, "résultat non fini (point hors du domaine du système)", sortie);

    sortie.append(prefixe);
    sortie.append(resultat, static_cast<std::size_t>(arobase - resultat));
    sortie.append(milieu);
    sortie.append(arobase + 1);
    sortie.append(suite);
    if (precision_) AjoutePrecision(x, y, separateur, sortie);
    return {Issue::Convertie, nullptr};
}

Bilan ConvertisseurLignes::Refuse(const char* raison, std::string& sortie) const {
    return Echec({}, {}, {}, ' ', raison, sortie);
}

Bilan ConvertisseurLignes::Echec(std::string_view prefixe, std::string_view milieu, std::string_view suite,
                                 char separateur, const char* raison, std::string& sortie) const {
    sortie.append(prefixe);
    sortie.push_back(MARQUE_ECHEC);
    if (milieu.empty())
        sortie.push_back(separateur);
    else
        sortie.append(milieu);
    sortie.push_back(MARQUE_ECHEC);
    sortie.append(suite);
    if (precision_) {
        sortie.push_back(separateur);
        sortie.push_back(MARQUE_ECHEC);
        sortie.push_back(separateur);
        sortie.push_back(MARQUE_ECHEC);
    }
    return {Issue::Echec, raison};
}

const char* ConvertisseurLignes::RaisonEchecMoteur(double x, double y) const {
    // The text interface fails on the marker itself, on the numeric failure,
    // and on a result too long for its 39 characters.
    if (x == GEOKERN_ECHEC) return "le premier nombre vaut -9999, la marque d'échec du moteur";
    const COORDONNEES_TYPE_NC point = SysCoord2SysCoord(COORDONNEES_TYPE_NC{x, y}, source_.code, cible_.code);
    if (GeokernEchec(point)) {
        return RouteParLaGrille(source_, cible_)
                   ? "point hors de la grille de changement de datum NTF-RGF93 (GR3DF97A)"
                   : "point non transformable";
    }
    return "résultat trop grand pour le texte du moteur";
}

void ConvertisseurLignes::AjoutePrecision(double x, double y, char separateur, std::string& sortie) const {
    // The node the grid lookup gives for the point's RGF93 geographic position.
    const COORDONNEES_TYPE_NC rgf93 = SysCoord2SysCoord(COORDONNEES_TYPE_NC{x, y}, source_.code, RGF93GG);
    const LIGNE_GRILLE_GR3DF97A noeud = LectureGrille_GR3DF97A(rgf93.x_lambda, rgf93.y_phi);
    sortie.push_back(separateur);
    const int code = noeud.Code_precision;
    if (GeokernEchec(rgf93) || code < 0 || code > 99) {
        sortie.push_back(MARQUE_ECHEC);
        sortie.push_back(separateur);
        sortie.push_back(MARQUE_ECHEC);
        return;
    }
    sortie.push_back(static_cast<char>('0' + code / 10));
    sortie.push_back(static_cast<char>('0' + code % 10));
    sortie.push_back(separateur);
    const char* sens = "?";
    for (const PrecisionGrille& p : PRECISIONS_GRILLE)
        if (p.code == code) sens = p.sens;
    sortie.append(sens);
}

EntreeLignes::EntreeLignes(ConvertisseurLignes& convertisseur, bool entete, Rapporteur& rapporteur)
    : convertisseur_(convertisseur), entete_(entete), rapporteur_(rapporteur) {}

void EntreeLignes::Ajoute(const char* donnees, std::size_t taille, std::string& sortie) {
    decoupe_.Feed(donnees, taille, [&](std::string_view ligne, bool trop_longue) { Ligne(ligne, trop_longue, sortie); });
}

void EntreeLignes::Termine(std::string& sortie) {
    decoupe_.Finish([&](std::string_view ligne, bool trop_longue) { Ligne(ligne, trop_longue, sortie); });
    // An input of a byte-order mark alone keeps it too.
    if (lignes_ == 0 && decoupe_.ByteOrderMark()) sortie.append(programs::kszByteOrderMark);
}

void EntreeLignes::Ligne(std::string_view ligne, bool trop_longue, std::string& sortie) {
    ++lignes_;
    // The input's byte-order mark goes back where it was.
    if (lignes_ == 1 && decoupe_.ByteOrderMark()) sortie.append(programs::kszByteOrderMark);
    const bool crlf = !ligne.empty() && ligne.back() == '\r';
    if (trop_longue) {
        ++echecs_;
        rapporteur_.Echec(lignes_, convertisseur_.Refuse(programs::kszLineTooLong, sortie).raison);
        if (crlf) sortie.push_back('\r');
    } else if (lignes_ == 1 && entete_) {
        sortie.append(ligne);
    } else {
        const Bilan bilan = convertisseur_.Convertit(crlf ? ligne.substr(0, ligne.size() - 1) : ligne, sortie);
        if (bilan.issue == Issue::Echec) {
            ++echecs_;
            rapporteur_.Echec(lignes_, bilan.raison);
        }
        if (crlf) sortie.push_back('\r');
    }
    sortie.push_back('\n');
}

}  // namespace geokern_conv
