// The line handling of geokern-conv, apart from files and options: one line in,
// one line out, in the same order, whatever the bytes.
//
// A line holds two numbers in the source system's units (x then y: easting
// then northing, or longitude then latitude), '.' as the decimal separator,
// separated by blanks (spaces, tabs), a ';' or a ','. The two numbers are
// replaced in place by the engine's text results and everything else (what
// comes before, between and after them) is copied unchanged. Blank lines and
// lines whose first non-blank character is '#' are copied unchanged. A line
// that cannot be read or a point that cannot be transformed gets '*' in place
// of each number and a reason for the error report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ProgramStreams.h"
#include "systemes.h"

namespace geokern_conv {

// The marker written in place of each number of a failed line.
inline constexpr char MARQUE_ECHEC = '*';

enum class Issue { Recopiee, Convertie, Echec };

struct Bilan {
    Issue issue;
    const char* raison;  // French, UTF-8; nullptr unless the line failed
};

// The precision of the datum-shift grid at a node, as the grid file's header
// GR3D3 gives it (in cm): 01:5 02:10 03:20 04:50 99>100.
struct PrecisionGrille {
    int code;
    const char* sens;  // the meaning written after the code
};
inline constexpr PrecisionGrille PRECISIONS_GRILLE[] = {
    {1, "5cm"}, {2, "10cm"}, {3, "20cm"}, {4, "50cm"}, {99, ">100cm"}};

class Rapporteur;

// How a line of the block ends in the output: as it came in (LF, CR LF), or
// without end (a line converted alone).
enum class FinLigne : unsigned char { Aucune, Lf, CrLf };

// Converts the lines of one route by blocks: the lines are read as they come
// (Prend, Recopie, Refuse), their points converted in one call of the engine's
// array function, and their results written in their order (Ecrit). The
// results are the texts of the engine's text interface, written the same way.
class ConvertisseurLignes {
public:
    // precision: append the grid node's precision code and its meaning
    // (only meaningful on a route through the grid).
    ConvertisseurLignes(const Systeme& source, const Systeme& cible, bool precision);

    // One line without its end (no LF, and no CR of a CRLF end); its result,
    // also without end, is appended to sortie. A block of one line: nothing
    // may be waiting in the block.
    Bilan Convertit(std::string_view ligne, std::string& sortie);
    // The markers of a line that is not read, for the reason given.
    Bilan Refuse(const char* raison, std::string& sortie) const;

    // The lines of a block: the line's bytes are copied, the caller's buffer
    // may change before the block is written. numero: the line's number in
    // the failure report.
    void Prend(std::string_view ligne, FinLigne fin, std::uint64_t numero);
    // A line copied unchanged (a header).
    void Recopie(std::string_view ligne, FinLigne fin);
    // A line that is not read, for the reason given.
    void Refuse(const char* raison, FinLigne fin, std::uint64_t numero);
    // The block holds as many lines or bytes as it takes at once.
    bool Plein() const { return lignes_.size() >= LIGNES_BLOC || texte_.size() >= OCTETS_BLOC; }
    // Converts the block's points, appends its lines' results to sortie in
    // their order, each failure given to rapporteur (when not null) after its
    // line's text and before its end, and empties the block. Returns the
    // outcome of the block's last line.
    Bilan Ecrit(std::string& sortie, Rapporteur* rapporteur);

    // The lines a block takes, and the bytes of their texts past which it is
    // written whatever its number of lines.
    static constexpr std::size_t LIGNES_BLOC = 1024;
    static constexpr std::size_t OCTETS_BLOC = 1 << 20;

private:
    // A line of the block, its text [debut, fin) in texte_: for a point
    // waiting for the engine, the line, its numbers at [x, fin_x) and
    // [y, fin_y) from debut; for any other line, its result.
    struct LigneBloc {
        std::size_t debut, fin;
        std::size_t x, fin_x, y, fin_y;
        std::uint64_t numero;
        Bilan bilan;  // Convertie while the point waits
        char separateur;
        FinLigne fin_ligne;
    };

    void Echec(std::string_view debut, std::string_view milieu, std::string_view suite, char separateur,
               std::string& sortie) const;
    void AjouteLigne(std::size_t debut, Bilan bilan, FinLigne fin, std::uint64_t numero, char separateur = ' ');
    Bilan EcritPoint(const LigneBloc& ligne, std::size_t k, std::string& sortie) const;
    void AjoutePrecision(std::size_t k, char separateur, std::string& sortie) const;

    const Systeme& source_;
    const Systeme& cible_;
    bool precision_;
    int decimales_;  // of the results: 8 for a geographic target, 3 otherwise, as the text interface writes them
    std::vector<LigneBloc> lignes_;
    std::string texte_;
    // The block's points in their order, and their results (the route's
    // target, and RGF93 geographic for the precision columns).
    std::vector<double> x_, y_, x_cible_, y_cible_, x_rgf93_, y_rgf93_;
};

// Receives the failures of one input.
class Rapporteur {
public:
    virtual void Echec(std::uint64_t ligne, const char* raison) = 0;

protected:
    ~Rapporteur() = default;
};

// One input fed in pieces of any size, cut into lines at LF. A CR before the LF
// belongs to the line end, which is kept as it came (LF or CRLF); a last line
// without LF gets one. A CR anywhere else is an ordinary character. A
// byte-order mark at the start is kept in the output and is not part of the
// first line; a line longer than programs::kMaxLineBytes is a failed line,
// "* *" and its line end. The lines are converted by blocks, and every line
// of a piece is written before Ajoute returns: a caller that writes its output
// out after each piece answers a pipe or a terminal line by line.
class EntreeLignes {
public:
    // entete: the first line is a header, copied unchanged.
    EntreeLignes(ConvertisseurLignes& convertisseur, bool entete, Rapporteur& rapporteur);

    void Ajoute(const char* donnees, std::size_t taille, std::string& sortie);
    // The end of the input: converts a last line that has no LF.
    void Termine(std::string& sortie);

    std::uint64_t Lignes() const { return lignes_; }
    std::uint64_t Echecs() const { return compte_.echecs; }

private:
    void Ligne(std::string_view ligne, bool trop_longue, std::string& sortie);
    void EcritBloc(std::string& sortie);

    // Counts the failures on their way to the caller's report.
    class Compte final : public Rapporteur {
    public:
        explicit Compte(Rapporteur& rapporteur) : rapporteur_(rapporteur) {}
        void Echec(std::uint64_t ligne, const char* raison) override {
            ++echecs;
            rapporteur_.Echec(ligne, raison);
        }
        std::uint64_t echecs = 0;

    private:
        Rapporteur& rapporteur_;
    };

    ConvertisseurLignes& convertisseur_;
    bool entete_;
    Compte compte_;
    programs::LineCutter decoupe_;
    std::uint64_t lignes_ = 0;
};

}  // namespace geokern_conv
