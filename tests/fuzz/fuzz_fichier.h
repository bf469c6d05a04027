// The fuzz input as a file: the readers under test take a path.
#ifndef FUZZ_FICHIER_H
#define FUZZ_FICHIER_H

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Writes the input to this process's temporary file and returns its path.
inline const char* EcrireFichier(const unsigned char* data, std::size_t size) {
    static std::string chemin;
    if (chemin.empty()) {
        const char* dossier = std::getenv("TMPDIR");
        std::string modele = std::string(dossier != nullptr ? dossier : "/tmp") + "/norvane-fuzz-XXXXXX";
        const int fd = mkstemp(&modele[0]);
        if (fd < 0) std::abort();
        close(fd);
        chemin = modele;
        std::atexit([] { std::remove(chemin.c_str()); });
    }
    std::FILE* f = std::fopen(chemin.c_str(), "wb");
    if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) std::abort();
    return chemin.c_str();
}

#endif
