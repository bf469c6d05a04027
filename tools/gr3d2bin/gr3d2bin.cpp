// gr3d2bin: converts the published text grid GR3DF97A into the engine's binary
// resource: 17,316 records of 28 bytes, little-endian, with no header (three
// binary64 translations in metres, then the int32 precision code). Data line k
// becomes record k.
//
// Usage: gr3d2bin INPUT.txt OUTPUT.bin
//
// The input is checked before anything is written: four header lines, then
// exactly 17,316 records in grid order (latitude fastest, from 41.0 to 52.0;
// longitudes from -5.5 to 10.0, step 0.1 degree), each with eight fields
// whose numbers parse whole. Any deviation fails with the line and the reason.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int LIGNES_ENTETE = 4;
const int COLONNES = 156, LIGNES = 111, NOEUDS = COLONNES * LIGNES;
const int TAILLE_ENREGISTREMENT = 28;

[[noreturn]] void Echec(const std::string& fichier, long ligne, const std::string& raison) {
    std::fprintf(stderr, "gr3d2bin: %s:%ld: %s\n", fichier.c_str(), ligne, raison.c_str());
    std::exit(1);
}

bool LireReel(const std::string& champ, double& valeur) {
    char* fin = nullptr;
    errno = 0;
    valeur = std::strtod(champ.c_str(), &fin);
    return errno == 0 && fin != champ.c_str() && *fin == '\0' && std::isfinite(valeur);
}

bool LireEntier(const std::string& champ, long& valeur) {
    char* fin = nullptr;
    errno = 0;
    valeur = std::strtol(champ.c_str(), &fin, 10);
    return errno == 0 && fin != champ.c_str() && *fin == '\0' && valeur >= INT32_MIN && valeur <= INT32_MAX;
}

void Ecrire(std::vector<unsigned char>& sortie, uint64_t bits, int octets) {
    for (int i = 0; i < octets; ++i) sortie.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gr3d2bin INPUT.txt OUTPUT.bin\n");
        return 2;
    }
    const std::string entree = argv[1];
    std::ifstream texte(entree);
    if (!texte) Echec(entree, 0, "cannot open the file");

    std::vector<unsigned char> sortie;
    sortie.reserve(size_t(NOEUDS) * TAILLE_ENREGISTREMENT);
    std::string ligne;
    long numero = 0;
    int noeuds = 0;
    while (std::getline(texte, ligne)) {
        ++numero;
        if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
        if (numero <= LIGNES_ENTETE) {
            if (ligne.compare(0, 5, " GR3D") != 0) Echec(entree, numero, "expected a GR3D header line");
            continue;
        }
        if (ligne.find_first_not_of(" \t") == std::string::npos) Echec(entree, numero, "blank line");
        if (noeuds == NOEUDS) Echec(entree, numero, "more than 17316 records");

        std::istringstream champs(ligne);
        std::vector<std::string> c;
        for (std::string champ; champs >> champ;) c.push_back(champ);
        if (c.size() != 8) Echec(entree, numero, "expected 8 fields, found " + std::to_string(c.size()));

        double lon, lat, t[3];
        long code;
        if (!LireReel(c[1], lon) || !LireReel(c[2], lat)) Echec(entree, numero, "position is not a number");
        for (int i = 0; i < 3; ++i)
            if (!LireReel(c[3 + i], t[i])) Echec(entree, numero, "translation is not a number: " + c[3 + i]);
        if (!LireEntier(c[6], code)) Echec(entree, numero, "precision code is not an integer: " + c[6]);

        const int colonne = noeuds / LIGNES, rang = noeuds % LIGNES;
        const double lonAttendue = -5.5 + 0.1 * colonne, latAttendue = 41.0 + 0.1 * rang;
        if (std::fabs(lon - lonAttendue) > 1e-6 || std::fabs(lat - latAttendue) > 1e-6) {
            char attendu[64];
            std::snprintf(attendu, sizeof attendu, "%.1f %.1f", lonAttendue, latAttendue);
            Echec(entree, numero, "position out of grid order, expected " + std::string(attendu));
        }

        for (double v : t) {
            uint64_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            Ecrire(sortie, bits, 8);
        }
        Ecrire(sortie, static_cast<uint32_t>(static_cast<int32_t>(code)), 4);
        ++noeuds;
    }
    if (noeuds != NOEUDS)
        Echec(entree, numero, "expected 17316 records, found " + std::to_string(noeuds));

    std::ofstream binaire(argv[2], std::ios::binary | std::ios::trunc);
    binaire.write(reinterpret_cast<const char*>(sortie.data()), std::streamsize(sortie.size()));
    if (!binaire.flush()) {
        std::remove(argv[2]);
        Echec(argv[2], 0, "cannot write the output");
    }
    return 0;
}
