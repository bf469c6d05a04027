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

// Converts the lines of one route. Calls the engine's text interface, which
// has one result buffer for the whole process: one converter at a time.
class ConvertisseurLignes {
public:
    // precision: append the grid node's precision code and its meaning
    // (only meaningful on a route through the grid).
    ConvertisseurLignes(const Systeme& source, const Systeme& cible, bool precision);

    // One line without its end (no LF, and no CR of a CRLF end); its result,
    // also without end, is appended to sortie.
    Bilan Convertit(std::string_view ligne, std::string& sortie);
    // The markers of a line that is not read, for the reason given.
    Bilan Refuse(const char* raison, std::string& sortie) const;

private:
    Bilan Echec(std::string_view debut, std::string_view milieu, std::string_view suite, char separateur,
                const char* raison, std::string& sortie) const;
    const char* RaisonEchecMoteur(double x, double y) const;
    void AjoutePrecision(double x, double y, char separateur, std::string& sortie) const;

    const Systeme& source_;
    const Systeme& cible_;
    bool precision_;
    std::string texte_;  // the "x@y" text handed to the engine, reused from line to line
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
// "* *" and its line end.
class EntreeLignes {
public:
    // entete: the first line is a header, copied unchanged.
    EntreeLignes(ConvertisseurLignes& convertisseur, bool entete, Rapporteur& rapporteur);

    void Ajoute(const char* donnees, std::size_t taille, std::string& sortie);
    // The end of the input: converts a last line that has no LF.
    void Termine(std::string& sortie);

    std::uint64_t Lignes() const { return lignes_; }
    std::uint64_t Echecs() const { return echecs_; }

private:
    void Ligne(std::string_view ligne, bool trop_longue, std::string& sortie);

    ConvertisseurLignes& convertisseur_;
    bool entete_;
    Rapporteur& rapporteur_;
    programs::LineCutter decoupe_;
    std::uint64_t lignes_ = 0;
    std::uint64_t echecs_ = 0;
};

}  // namespace geokern_conv
