#include "conversion.h"

#include <cmath>
#include <cstring>

#include "Numbers.h"
#include "PointDomain.h"
#include "nombres.h"

namespace geokern_conv {

namespace {

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

// The characters that end a field: blanks, ';', and ',' where it separates fields.
struct FinsDeChamp {
    bool fin[256];
};
constexpr FinsDeChamp Fins(bool virgule) {
    FinsDeChamp fins{};
    fins.fin[static_cast<unsigned char>(' ')] = fins.fin[static_cast<unsigned char>('\t')] = true;
    fins.fin[static_cast<unsigned char>(';')] = true;
    fins.fin[static_cast<unsigned char>(',')] = virgule;
    return fins;
}
constexpr FinsDeChamp FINS_AVEC_VIRGULE = Fins(true), FINS_SANS_VIRGULE = Fins(false);

const char* RaisonIllisible(std::string_view champ, bool premier) {
    if (champ.find(',') != std::string_view::npos)
        return premier ? "virgule dans le premier nombre (le séparateur décimal est le point)"
                       : "virgule dans le second nombre (le séparateur décimal est le point)";
    return premier ? "premier nombre illisible" : "second nombre illisible";
}

}  // namespace

ConvertisseurLignes::ConvertisseurLignes(const Systeme& source, const Systeme& cible, bool precision)
    : source_(source), cible_(cible), precision_(precision) {
    // As the text interface.
    const DESCRIPTION_SYSCOORD* description = DescriptionSysCoord(cible.code);
    decimales_ = DecimalesTexte(description != nullptr && description->Code != 0 && description->IsProjection == 0);
}

Bilan ConvertisseurLignes::Convertit(std::string_view ligne, std::string& sortie) {
    Prend(ligne, FinLigne::Aucune, 0);
    return Ecrit(sortie, nullptr);
}

Bilan ConvertisseurLignes::Refuse(const char* raison, std::string& sortie) const {
    Echec({}, {}, {}, ' ', sortie);
    return {Issue::Echec, raison};
}

void ConvertisseurLignes::Recopie(std::string_view ligne, FinLigne fin) {
    const std::size_t debut = texte_.size();
    texte_.append(ligne);
    AjouteLigne(debut, {Issue::Recopiee, nullptr}, fin, 0);
}

void ConvertisseurLignes::Refuse(const char* raison, FinLigne fin, std::uint64_t numero) {
    const std::size_t debut = texte_.size();
    Echec({}, {}, {}, ' ', texte_);
    AjouteLigne(debut, {Issue::Echec, raison}, fin, numero);
}

void ConvertisseurLignes::AjouteLigne(std::size_t debut, Bilan bilan, FinLigne fin, std::uint64_t numero,
                                      char separateur) {
    lignes_.push_back({debut, texte_.size(), 0, 0, 0, 0, numero, bilan, separateur, fin});
}

void ConvertisseurLignes::Prend(std::string_view ligne, FinLigne fin, std::uint64_t numero) {
    const std::size_t debut = texte_.size();
    const std::size_t n = ligne.size();
    std::size_t i = 0;
    while (i < n && EstBlanc(ligne[i])) ++i;
    if (i == n || ligne[i] == '#') {
        texte_.append(ligne);
        AjouteLigne(debut, {Issue::Recopiee, nullptr}, fin, numero);
        return;
    }

    // In a line holding a ';' or a tab (after its indentation), the comma separates nothing: it can only
    // be a decimal comma, and the field holding it is refused. (A line without a comma needs no answer.)
    const bool virgule_separe =
        ligne.find(',', i) != std::string_view::npos && programs::CommaSeparatesFields(ligne);
    const FinsDeChamp& fins = virgule_separe ? FINS_AVEC_VIRGULE : FINS_SANS_VIRGULE;
    auto separe = [&fins](char c) { return fins.fin[static_cast<unsigned char>(c)]; };

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
    bool point_virgule = false, virgule = false, tabulation = false;
    for (const char c : milieu) {
        point_virgule = point_virgule || c == ';';
        virgule = virgule || c == ',';
        tabulation = tabulation || c == '\t';
    }
    const char separateur = point_virgule ? ';' : virgule ? ',' : tabulation ? '\t' : ' ';

    auto echec = [&](const char* raison) {
        Echec(prefixe, milieu, suite, separateur, texte_);
        AjouteLigne(debut, {Issue::Echec, raison}, fin, numero, separateur);
    };
    if (champ_x.empty()) return echec("premier nombre manquant");
    if (champ_y.empty()) return echec("second nombre manquant");
    double x, y;
    if (!programs::ReadNumber(champ_x, &x)) return echec(RaisonIllisible(champ_x, true));
    if (!programs::ReadNumber(champ_y, &y)) return echec(RaisonIllisible(champ_y, false));
    // "2,35 48,85": numbers joined by a bare comma, and the next field cut
    // elsewhere than at a comma. Read as CSV it would be the point (2, 35).
    if (programs::JoinedByDecimalComma(milieu, suite))
        return echec("virgule entre deux nombres sans autre virgule après (virgule décimale ?)");
    // The engine's failure marker is no point: the text interface refuses it.
    if (x == GEOKERN_ECHEC) return echec("le premier nombre vaut -9999, la marque d'échec du moteur");
    // A latitude beyond the pole, a projected point far outside its system: refused before the engine
    // (which would answer).
    if (const char* refus = programs::PointVerdictText(programs::CheckPoint(source_, x, y))) return echec(refus);

    // The point waits for the engine, and its line for the results to take the numbers' places.
    texte_.append(ligne);
    lignes_.push_back({debut, texte_.size(), i, fin_x, debut_y, fin_y, numero, {Issue::Convertie, nullptr},
                       separateur, fin});
    x_.push_back(x);
    y_.push_back(y);
}

Bilan ConvertisseurLignes::Ecrit(std::string& sortie, Rapporteur* rapporteur) {
    const std::size_t points = x_.size();
    if (points > 0) {
        x_cible_.resize(points);
        y_cible_.resize(points);
        SysCoord2SysCoordTableau(x_.data(), y_.data(), x_cible_.data(), y_cible_.data(), static_cast<int>(points),
                                 source_.code, cible_.code);
        if (precision_) {
            x_rgf93_.resize(points);
            y_rgf93_.resize(points);
            SysCoord2SysCoordTableau(x_.data(), y_.data(), x_rgf93_.data(), y_rgf93_.data(),
                                     static_cast<int>(points), source_.code, RGF93GG);
        }
    }
    Bilan bilan{Issue::Recopiee, nullptr};
    std::size_t k = 0;
    for (const LigneBloc& ligne : lignes_) {
        if (ligne.bilan.issue == Issue::Convertie) {
            bilan = EcritPoint(ligne, k++, sortie);
        } else {
            sortie.append(texte_, ligne.debut, ligne.fin - ligne.debut);
            bilan = ligne.bilan;
        }
        if (bilan.issue == Issue::Echec && rapporteur != nullptr) rapporteur->Echec(ligne.numero, bilan.raison);
        if (ligne.fin_ligne == FinLigne::CrLf) sortie.push_back('\r');
        if (ligne.fin_ligne != FinLigne::Aucune) sortie.push_back('\n');
    }
    lignes_.clear();
    texte_.clear();
    x_.clear();
    y_.clear();
    return bilan;
}

Bilan ConvertisseurLignes::EcritPoint(const LigneBloc& ligne, std::size_t k, std::string& sortie) const {
    const std::string_view texte = std::string_view(texte_).substr(ligne.debut, ligne.fin - ligne.debut);
    const std::string_view prefixe = texte.substr(0, ligne.x);
    const std::string_view milieu = texte.substr(ligne.fin_x, ligne.y - ligne.fin_x);
    const std::string_view suite = texte.substr(ligne.fin_y);
    const double x = x_cible_[k], y = y_cible_[k];

    // The results as the text interface writes them, "x@y" in its buffer: a
    // text that does not fit is a failure.
    char resultat[TAILLE_TEXTE_POINT];
    const char* fin_x = nullptr;
    const char* fin_y = nullptr;
    const char* raison = nullptr;
    if (x == GEOKERN_ECHEC) {
        // The text interface fails on a result whose x is the marker.
        if (GeokernEchec({x, y}))
            raison = RouteParLaGrille(source_, cible_) ? "point hors de la grille de changement de datum NTF-RGF93 (GR3DF97A)"
                                                       : "point non transformable";
    } else {
        fin_y = Point2Texte(x, y, decimales_, resultat, resultat + sizeof resultat - 1);
        if (fin_y != nullptr) fin_x = static_cast<const char*>(std::memchr(resultat, '@', static_cast<std::size_t>(fin_y - resultat)));
    }
    if (raison == nullptr && fin_y == nullptr) raison = "résultat trop grand pour le texte du moteur";
    // A result that is not a number ("nan", "inf"): the point lies where the
    // projection formulas break down.
    if (raison == nullptr && !(std::isfinite(x) && std::isfinite(y)))
        raison = "résultat non fini (point hors du domaine du système)";
    if (raison != nullptr) {
        Echec(prefixe, milieu, suite, ligne.separateur, sortie);
        return {Issue::Echec, raison};
    }

    sortie.append(prefixe);
    sortie.append(resultat, static_cast<std::size_t>(fin_x - resultat));
    sortie.append(milieu);
    sortie.append(fin_x + 1, static_cast<std::size_t>(fin_y - (fin_x + 1)));
    sortie.append(suite);
    if (precision_) AjoutePrecision(k, ligne.separateur, sortie);
    return {Issue::Convertie, nullptr};
}

void ConvertisseurLignes::Echec(std::string_view prefixe, std::string_view milieu, std::string_view suite,
                                char separateur, std::string& sortie) const {
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
}

void ConvertisseurLignes::AjoutePrecision(std::size_t k, char separateur, std::string& sortie) const {
    // The node the grid lookup gives for the point's RGF93 geographic position.
    const COORDONNEES_TYPE_NC rgf93{x_rgf93_[k], y_rgf93_[k]};
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
    : convertisseur_(convertisseur), entete_(entete), compte_(rapporteur) {}

void EntreeLignes::Ajoute(const char* donnees, std::size_t taille, std::string& sortie) {
    decoupe_.Feed(donnees, taille, [&](std::string_view ligne, bool trop_longue) { Ligne(ligne, trop_longue, sortie); });
    // The piece's last lines too: the caller may answer them at once.
    EcritBloc(sortie);
}

void EntreeLignes::Termine(std::string& sortie) {
    decoupe_.Finish([&](std::string_view ligne, bool trop_longue) { Ligne(ligne, trop_longue, sortie); });
    EcritBloc(sortie);
    // An input of a byte-order mark alone keeps it too.
    if (lignes_ == 0 && decoupe_.ByteOrderMark()) sortie.append(programs::kszByteOrderMark);
}

void EntreeLignes::EcritBloc(std::string& sortie) { convertisseur_.Ecrit(sortie, &compte_); }

void EntreeLignes::Ligne(std::string_view ligne, bool trop_longue, std::string& sortie) {
    ++lignes_;
    // The input's byte-order mark goes back where it was, before its first
    // line (the block is empty then: the earlier inputs are written).
    if (lignes_ == 1 && decoupe_.ByteOrderMark()) sortie.append(programs::kszByteOrderMark);
    const bool crlf = !ligne.empty() && ligne.back() == '\r';
    const FinLigne fin = crlf ? FinLigne::CrLf : FinLigne::Lf;
    if (crlf) ligne.remove_suffix(1);
    if (trop_longue)
        convertisseur_.Refuse(programs::kszLineTooLong, fin, lignes_);
    else if (lignes_ == 1 && entete_)
        convertisseur_.Recopie(ligne, fin);
    else
        convertisseur_.Prend(ligne, fin, lignes_);
    if (convertisseur_.Plein()) EcritBloc(sortie);
}

}  // namespace geokern_conv
