// geokern-conv SOURCE CIBLE [FICHIER...]: converts files of points from one
// system of the geokern catalogue to another, one line in, one line out.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "conversion.h"
#include "systemes.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

using namespace geokern_conv;

namespace {

constexpr std::size_t TAILLE_LECTURE = 1 << 20;
constexpr std::size_t TAILLE_ECRITURE = 1 << 20;

// Exit statuses.
constexpr int SUCCES = 0;
constexpr int LIGNES_EN_ECHEC = 1;
constexpr int ERREUR_UTILISATION = 2;

const char* const NOM_PROGRAMME = "geokern-conv";
const char* const ENTREE_STANDARD = "entrée standard";

// The program's own texts are UTF-8. On Windows they go to a console as
// UTF-16 and to a file or pipe in the console's code page, so that accents
// read right either way; the data lines are bytes, copied as they came.
void EcritTexte(FILE* flux, std::string_view texte) {
#ifdef _WIN32
    std::fflush(flux);
    HANDLE console = GetStdHandle(flux == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    const int longueur = MultiByteToWideChar(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0);
    std::wstring large(static_cast<std::size_t>(longueur), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), large.data(), longueur);
    DWORD mode;
    if (GetConsoleMode(console, &mode)) {
        DWORD ecrits;
        WriteConsoleW(console, large.data(), static_cast<DWORD>(large.size()), &ecrits, nullptr);
        return;
    }
    UINT page = GetConsoleOutputCP();
    if (page == 0) page = GetACP();
    const int taille = WideCharToMultiByte(page, 0, large.data(), longueur, nullptr, 0, nullptr, nullptr);
    std::string local(static_cast<std::size_t>(taille), '\0');
    WideCharToMultiByte(page, 0, large.data(), longueur, local.data(), taille, nullptr, nullptr);
    std::fwrite(local.data(), 1, local.size(), flux);
#else
    std::fwrite(texte.data(), 1, texte.size(), flux);
#endif
}

void Message(const std::string& texte) { EcritTexte(stderr, std::string(NOM_PROGRAMME) + ": " + texte + "\n"); }

// A UTF-8 text padded with spaces to a width counted in characters.
void AjouteColonne(std::string& texte, std::string_view colonne, std::size_t largeur) {
    std::size_t caracteres = 0;
    for (const char c : colonne)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++caracteres;
    texte.append(colonne);
    if (caracteres < largeur) texte.append(largeur - caracteres, ' ');
}

std::string Aide() {
    std::string aide =
        "Usage : geokern-conv [OPTIONS] SOURCE CIBLE [FICHIER...]\n"
        "\n"
        "Convertit des points du système SOURCE vers le système CIBLE avec le moteur\n"
        "geokern. Lit les FICHIERs dans l'ordre, ou l'entrée standard s'il n'y en a\n"
        "aucun (« - » la désigne aussi), et écrit sur la sortie standard une ligne\n"
        "par ligne lue, dans le même ordre.\n"
        "\n"
        "Systèmes : par leur nom (majuscules ou minuscules) ou leur code.\n"
        "  code  nom       système                  unités            EPSG (pour information)\n";
    for (const Systeme& s : SYSTEMES) {
        char code[16], epsg[16];
        std::snprintf(code, sizeof code, "  %4d  ", static_cast<int>(s.code));
        std::snprintf(epsg, sizeof epsg, "%d\n", s.epsg);
        aide += code;
        AjouteColonne(aide, s.nom, 10);
        AjouteColonne(aide, s.description, 25);
        AjouteColonne(aide, s.geographique ? "degrés (lon lat)" : "mètres (E N)", 18);
        aide += epsg;
    }
    aide +=
        "\n"
        "Ordre des coordonnées : toujours x puis y, soit E puis N en mètres pour une\n"
        "projection (ordonnée des systèmes « carto » comprise), longitude puis latitude\n"
        "en degrés décimaux comptés de Greenwich (est et nord positifs) pour un système\n"
        "géographique, quel que soit l'ordre des axes chez EPSG (EPSG:4326 donne la\n"
        "latitude en premier ; ici, jamais).\n"
        "\n"
        "Lignes : deux nombres, « . » comme séparateur décimal, séparés par des blancs,\n"
        "un « ; », une « , » ou une tabulation ; la suite de la ligne est recopiée telle\n"
        "quelle. Les deux nombres sont remplacés sur place par les résultats, écrits\n"
        "comme les écrit CSysCoord2SysCoord : 8 décimales pour des degrés, 3 pour des\n"
        "mètres ; les séparateurs restent ceux de la ligne. Les lignes vides et celles\n"
        "dont le premier caractère non blanc est « # » sont recopiées. Une virgule\n"
        "décimale est refusée : dans une ligne qui contient un « ; » ou une tabulation,\n"
        "la virgule ne sépare pas les nombres. Fins de ligne LF ou CRLF, conservées ;\n"
        "une dernière ligne sans fin reçoit LF.\n"
        "\n"
        "Échecs : une ligne illisible ou un point non transformable (hors de la grille\n"
        "de changement de datum NTF-RGF93 par exemple) donne « * » à la place de chacun\n"
        "des deux nombres, suivi du reste de la ligne, et un message sur l'erreur\n"
        "standard : entrée, numéro de ligne, raison.\n"
        "\n"
        "Options :\n"
        "  --entete     recopie telle quelle la première ligne de chaque entrée\n"
        "  --precision  route NTF <-> RGF93 seulement : ajoute deux colonnes, le code de\n"
        "               précision du nœud de la grille GR3DF97A à la position RGF93 du\n"
        "               point (LectureGrille_GR3DF97A) et sa signification, la précision\n"
        "               du changement de datum en ce nœud selon l'en-tête de la grille :\n"
        "               ";
    for (const PrecisionGrille& p : PRECISIONS_GRILLE) {
        char texte[32];
        std::snprintf(texte, sizeof texte, "  %02d %s", p.code, p.sens);
        aide += texte;
    }
    aide +=
        "\n"
        "               (« * * » pour une ligne en échec)\n"
        "  -h, --aide, --help   cette aide\n"
        "  --version    la version\n"
        "  --           la fin des options (pour un fichier dont le nom commence par -)\n"
        "\n"
        "Statut de sortie : 0 si toutes les lignes sont converties ou recopiées, 1 si une\n"
        "ligne au moins est en échec, 2 pour une erreur d'utilisation (système ou option\n"
        "inconnus, fichier illisible : rien n'est écrit pour ce fichier) ou d'écriture.\n"
        "\n"
        "Exemple :\n"
        "  echo \"2.35 48.85 Paris\" | geokern-conv WGS84GG NTFL2E\n"
        "  600990.892 2427961.512 Paris\n";
    return aide;
}

// The failures of one input, reported on standard error.
class RapportErreurs final : public Rapporteur {
public:
    explicit RapportErreurs(const char* entree) : entree_(entree) {}
    void Echec(std::uint64_t ligne, const char* raison) override {
        Message(std::string(entree_) + ":" + std::to_string(ligne) + ": " + raison);
    }

private:
    const char* entree_;
};

// Standard output through one large buffer.
class Sortie {
public:
    Sortie() { tampon_.reserve(TAILLE_ECRITURE + TAILLE_ECRITURE / 4); }
    std::string& Tampon() { return tampon_; }
    bool VideSiPlein() { return tampon_.size() < TAILLE_ECRITURE || Vide(); }
    bool Vide() {
        const bool ok = std::fwrite(tampon_.data(), 1, tampon_.size(), stdout) == tampon_.size();
        tampon_.clear();
        return ok && std::fflush(stdout) == 0;
    }

private:
    std::string tampon_;
};

// The system's reason, in French for the usual ones.
std::string RaisonSysteme(int erreur) {
    switch (erreur) {
    case ENOENT: return "fichier introuvable";
    case EACCES: return "accès refusé";
    case EISDIR: return "c'est un dossier";
    default: return std::strerror(erreur);
    }
}

enum class Lecture { Lue, Illisible, EcritureImpossible };

Lecture ConvertitEntree(const char* nom, ConvertisseurLignes& convertisseur, bool entete, Sortie& sortie,
                        std::vector<char>& tampon, std::uint64_t& echecs) {
    const bool standard = std::strcmp(nom, "-") == 0;
    const char* nom_affiche = standard ? ENTREE_STANDARD : nom;
    FILE* flux = standard ? stdin : std::fopen(nom, "rb");
    if (flux == nullptr) {
        Message("fichier illisible « " + std::string(nom) + " » : " + RaisonSysteme(errno));
        return Lecture::Illisible;
    }
    RapportErreurs rapport(nom_affiche);
    EntreeLignes entree(convertisseur, entete, rapport);
    Lecture issue = Lecture::Lue;
    for (;;) {
        const std::size_t lus = std::fread(tampon.data(), 1, tampon.size(), flux);
        if (lus > 0) {
            entree.Ajoute(tampon.data(), lus, sortie.Tampon());
            if (!sortie.VideSiPlein()) {
                issue = Lecture::EcritureImpossible;
                break;
            }
        }
        if (lus < tampon.size()) {
            if (std::ferror(flux)) {
                const int erreur = errno;
                if (entree.Lignes() == 0)  // a folder, for one: nothing was read
                    Message("fichier illisible « " + std::string(nom_affiche) + " » : " + RaisonSysteme(erreur));
                else
                    Message("lecture interrompue « " + std::string(nom_affiche) + " » après la ligne " +
                            std::to_string(entree.Lignes()) + " : " + RaisonSysteme(erreur));
                issue = Lecture::Illisible;
            } else {
                entree.Termine(sortie.Tampon());
            }
            break;
        }
    }
    echecs += entree.Echecs();
    if (standard)
        std::clearerr(stdin);
    else
        std::fclose(flux);
    return issue;
}

int Usage(const std::string& texte) {
    Message(texte);
    EcritTexte(stderr, "Voir « geokern-conv --aide ».\n");
    return ERREUR_UTILISATION;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Bytes in, bytes out: the line ends stay those of the input.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    bool entete = false, precision = false, fin_options = false;
    std::vector<const char*> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (fin_options || a.size() < 2 || a[0] != '-') {
            arguments.push_back(argv[i]);
        } else if (a == "--") {
            fin_options = true;
        } else if (a == "-h" || a == "--help" || a == "--aide") {
            EcritTexte(stdout, Aide());
            return std::fflush(stdout) == 0 ? SUCCES : ERREUR_UTILISATION;
        } else if (a == "--version") {
            EcritTexte(stdout, std::string(NOM_PROGRAMME) + " " GEOKERN_CONV_VERSION "\n");
            return SUCCES;
        } else if (a == "--entete") {
            entete = true;
        } else if (a == "--precision") {
            precision = true;
        } else {
            return Usage("option inconnue « " + std::string(a) + " »");
        }
    }
    if (arguments.size() < 2) return Usage("il faut deux systèmes : SOURCE CIBLE [FICHIER...]");
    const Systeme* source = TrouveSysteme(arguments[0]);
    if (source == nullptr)
        return Usage("système source inconnu « " + std::string(arguments[0]) +
                     " » (un nom du catalogue ou un code de 1 à 12)");
    const Systeme* cible = TrouveSysteme(arguments[1]);
    if (cible == nullptr)
        return Usage("système cible inconnu « " + std::string(arguments[1]) +
                     " » (un nom du catalogue ou un code de 1 à 12)");
    if (precision && !RouteParLaGrille(*source, *cible))
        return Usage(std::string("--precision : la route ") + source->nom + " -> " + cible->nom +
                     " ne passe pas par la grille GR3DF97A (NTF <-> RGF93 seulement)");

    std::vector<const char*> entrees(arguments.begin() + 2, arguments.end());
    if (entrees.empty()) entrees.push_back("-");

    ConvertisseurLignes convertisseur(*source, *cible, precision);
    Sortie sortie;
    std::vector<char> tampon(TAILLE_LECTURE);
    std::uint64_t echecs = 0;
    int statut = SUCCES;
    for (const char* nom : entrees) {
        const Lecture issue = ConvertitEntree(nom, convertisseur, entete, sortie, tampon, echecs);
        if (issue == Lecture::EcritureImpossible) break;
        if (issue == Lecture::Illisible) statut = ERREUR_UTILISATION;
    }
    if (!sortie.Vide()) {
        Message(std::string("écriture impossible sur la sortie standard : ") + std::strerror(errno));
        return ERREUR_UTILISATION;
    }
    if (statut == SUCCES && echecs > 0) statut = LIGNES_EN_ECHEC;
    return statut;
}
