// geokern_empreinte FILE: writes the engine's results for all 12 x 12 pairs of
// systems on the benchmark's 100,000 points, as raw doubles, to FILE, and
// prints a 64-bit FNV-1a hash of them. Run before and after a change meant only
// for speed: the files must be identical byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "geokern2.h"
#include "points_france.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: geokern_empreinte FILE\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::uint64_t hash = 0xcbf29ce484222325ull;
    std::vector<COORDONNEES_TYPE_NC> ligne(12 * 12);
    for (const COORDONNEES_TYPE_NC& p : bench::PointsFrance(100000)) {
        for (int in = 1; in <= 12; ++in) {
            const COORDONNEES_TYPE_NC p_in = SysCoord2SysCoord(p, WGS84GG, static_cast<Liste_SysCoord>(in));
            for (int out = 1; out <= 12; ++out)
                ligne[(in - 1) * 12 + (out - 1)] =
                    SysCoord2SysCoord(p_in, static_cast<Liste_SysCoord>(in), static_cast<Liste_SysCoord>(out));
        }
        const unsigned char* octets = reinterpret_cast<const unsigned char*>(ligne.data());
        const std::size_t taille = ligne.size() * sizeof(COORDONNEES_TYPE_NC);
        for (std::size_t i = 0; i < taille; ++i) hash = (hash ^ octets[i]) * 0x100000001b3ull;
        std::fwrite(octets, 1, taille, f);
    }
    std::fclose(f);
    std::printf("%016llx\n", static_cast<unsigned long long>(hash));
    return 0;
}
