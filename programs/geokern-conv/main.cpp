// geokern-conv SOURCE CIBLE [FICHIER...]: converts files of points from one
// system of the geokern catalogue to another, one line in, one line out.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "ProgramStreams.h"
#include "conversion.h"
#include "systemes.h"

using namespace geokern_conv;

namespace {

enum Option { ENTETE, PRECISION };

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
        "une dernière ligne sans fin reçoit LF. Depuis un tube ou un terminal, chaque\n"
        "ligne reçoit sa réponse dès qu'elle arrive.\n"
        "\n"
        "Échecs : une ligne illisible ou un point non transformable (hors de la grille\n"
        "de changement de datum NTF-RGF93 par exemple) donne « * » à la place de chacun\n"
        "des deux nombres, suivi du reste de la ligne, et un message sur l'erreur\n"
        "standard : entrée, numéro de ligne, raison. Sont refusés une latitude au-delà\n"
        "de ±90°, une longitude au-delà de ±180°, un point projeté à plus de 10 000 km\n"
        "de l'origine (0, 0) de son système, une ligne de plus de 1 Mio. Une marque\n"
        "d'ordre des octets UTF-8 en tête d'entrée est sautée et recopiée.\n"
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

// One input: its lines converted, its failures reported on standard error.
class LectureEntree final : public programs::PieceReader {
public:
    LectureEntree(ConvertisseurLignes& convertisseur, bool entete, const std::string& nom)
        : rapport_(nom), entree_(convertisseur, entete, rapport_) {}
    void Piece(const char* donnees, std::size_t taille, std::string& sortie) override {
        entree_.Ajoute(donnees, taille, sortie);
    }
    void End(std::string& sortie) override { entree_.Termine(sortie); }
    std::uint64_t Lines() const override { return entree_.Lignes(); }
    std::uint64_t Echecs() const { return entree_.Echecs(); }

private:
    class Rapport final : public Rapporteur {
    public:
        explicit Rapport(const std::string& nom) : nom_(programs::InputName(nom)) {}
        void Echec(std::uint64_t ligne, const char* raison) override {
            programs::Say(nom_ + ", ligne " + std::to_string(ligne) + " : " + raison);
        }

    private:
        std::string nom_;
    };
    Rapport rapport_;
    EntreeLignes entree_;
};

}  // namespace

int main(int argc, char** argv) {
    programs::StartProgram("geokern-conv");
    const programs::CommandLine ligne = programs::ParseCommandLine(
        argc, argv, {{"entete", 0, nullptr, ENTETE}, {"precision", 0, nullptr, PRECISION}});
    const int reponse = programs::AnswerCommandLine(ligne, Aide(), GEOKERN_CONV_VERSION);
    if (reponse >= 0) return reponse;
    bool entete = false, precision = false;
    for (const programs::GivenOption& option : ligne.options) {
        if (option.nId == ENTETE) entete = true;
        if (option.nId == PRECISION) precision = true;
    }
    const std::vector<std::string>& arguments = ligne.operands;
    if (arguments.size() < 2) return programs::UsageError("il faut deux syst\xC3\xA8mes : SOURCE CIBLE [FICHIER...]");
    const Systeme* source = TrouveSysteme(arguments[0]);
    if (source == nullptr)
        return programs::UsageError("syst\xC3\xA8me source inconnu \xC2\xAB " + programs::ArgumentText(arguments[0]) +
                                    " \xC2\xBB (un nom du catalogue ou un code de 1 \xC3\xA0 12)");
    const Systeme* cible = TrouveSysteme(arguments[1]);
    if (cible == nullptr)
        return programs::UsageError("syst\xC3\xA8me cible inconnu \xC2\xAB " + programs::ArgumentText(arguments[1]) +
                                    " \xC2\xBB (un nom du catalogue ou un code de 1 \xC3\xA0 12)");
    if (precision && !RouteParLaGrille(*source, *cible))
        return programs::UsageError(std::string("--precision : la route ") + source->nom + " -> " + cible->nom +
                                    " ne passe pas par la grille GR3DF97A (NTF <-> RGF93 seulement)");

    std::vector<std::string> entrees(arguments.begin() + 2, arguments.end());
    if (entrees.empty()) entrees.push_back("-");

    ConvertisseurLignes convertisseur(*source, *cible, precision);
    std::uint64_t echecs = 0;
    int statut = programs::kExitOk;
    for (const std::string& nom : entrees) {
        LectureEntree lecture(convertisseur, entete, nom);
        const programs::InputOutcome issue = programs::ReadInput(nom, lecture);
        echecs += lecture.Echecs();
        if (issue == programs::InputOutcome::kWriteFailed) break;
        if (issue == programs::InputOutcome::kUnreadable) statut = programs::kExitUsage;
    }
    if (programs::FinishOutput() != programs::kExitOk) return programs::kExitUsage;
    if (statut == programs::kExitOk && echecs > 0) statut = programs::kExitLineFailed;
    return statut;
}
