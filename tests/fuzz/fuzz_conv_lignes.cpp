// geokern-conv's line handling on arbitrary bytes. Input: source and target
// system (one byte each, any value brought to 1..12), options (bit 0: a header
// line, bit 1: the grid precision columns on a grid route), the size of the
// pieces the input is fed in (1 to 256 bytes), then the input itself. One line
// out for each line in, each with the line end it came with; blank lines and
// comments unchanged; no more failures than lines; a byte-order mark at the
// start written back, and not counted as part of the first line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "conversion.h"
#include "systemes.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

struct Compte final : geokern_conv::Rapporteur {
    std::uint64_t echecs = 0, derniere = 0;
    void Echec(std::uint64_t ligne, const char* raison) override {
        Verifie(raison != nullptr && raison[0] != '\0');
        Verifie(ligne > derniere);  // in order, once per line
        derniere = ligne;
        ++echecs;
    }
};

std::vector<std::string_view> Lignes(std::string_view texte) {
    std::vector<std::string_view> lignes;
    while (!texte.empty()) {
        const std::size_t lf = texte.find('\n');
        if (lf == std::string_view::npos) {
            lignes.push_back(texte);
            break;
        }
        lignes.push_back(texte.substr(0, lf));
        texte.remove_prefix(lf + 1);
    }
    return lignes;
}

bool BlancOuCommentaire(std::string_view ligne) {
    if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
    const std::size_t i = ligne.find_first_not_of(" \t");
    return i == std::string_view::npos || ligne[i] == '#';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace geokern_conv;
    if (size < 4) return 0;
    const Systeme& source = SYSTEMES[data[0] % SYSTEMES.size()];
    const Systeme& cible = SYSTEMES[data[1] % SYSTEMES.size()];
    const bool entete = (data[2] & 1) != 0;
    const bool precision = (data[2] & 2) != 0 && RouteParLaGrille(source, cible);
    const std::size_t morceau = 1 + data[3];
    const std::string_view entree(reinterpret_cast<const char*>(data + 4), size - 4);

    ConvertisseurLignes convertisseur(source, cible, precision);
    Compte compte;
    EntreeLignes lignes(convertisseur, entete, compte);
    std::string sortie;
    for (std::size_t i = 0; i < entree.size(); i += morceau)
        lignes.Ajoute(entree.data() + i, std::min(morceau, entree.size() - i), sortie);
    lignes.Termine(sortie);

    std::string_view sans_marque = entree, sortie_sans_marque = sortie;
    const std::string_view marque = programs::kszByteOrderMark;
    const bool avec_marque = sans_marque.substr(0, marque.size()) == marque;
    Verifie(avec_marque == (sortie_sans_marque.substr(0, marque.size()) == marque));
    if (avec_marque) {
        sans_marque.remove_prefix(marque.size());
        sortie_sans_marque.remove_prefix(marque.size());
    }
    const std::vector<std::string_view> in = Lignes(sans_marque), out = Lignes(sortie_sans_marque);
    Verifie(in.size() == out.size());
    Verifie(lignes.Lignes() == in.size());
    Verifie(sortie_sans_marque.empty() || sortie_sans_marque.back() == '\n');
    Verifie(compte.echecs == lignes.Echecs() && compte.echecs <= in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const bool cr_in = !in[i].empty() && in[i].back() == '\r';
        const bool cr_out = !out[i].empty() && out[i].back() == '\r';
        Verifie(cr_in == cr_out);
        if ((i == 0 && entete) || BlancOuCommentaire(in[i])) Verifie(in[i] == out[i]);
    }
    return 0;
}
