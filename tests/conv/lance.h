// Runs geokern-conv as a user does: arguments, standard input from a file,
// standard output and error captured, exit status.
#pragma once

#include <string>
#include <vector>

struct Execution {
    int statut;
    std::string sortie;
    std::string erreurs;
};

// A folder of this test process's own for input files.
std::string DossierDeTravail();

// Writes a file in that folder and returns its path.
std::string EcritFichier(const std::string& nom, const std::string& contenu);

// geokern-conv, found beside the test program, with these arguments and this
// standard input.
Execution LanceConv(const std::vector<std::string>& arguments, const std::string& entree = "");

#ifndef _WIN32
// geokern-conv reading a pipe, as a user typing: each line written, then its
// answer read up to its line feed before the next line is written; the
// answers, up to the first that does not come within 30 s.
std::vector<std::string> DialogueConv(const std::vector<std::string>& arguments, const std::vector<std::string>& lignes);
#endif
