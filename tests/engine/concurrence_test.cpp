// SysCoord2SysCoord keeps no state: calls from several threads at once give
// exactly the results of the same calls made one after the other.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "geokern2.h"

namespace {

struct Cas {
    COORDONNEES_TYPE_NC point;
    Liste_SysCoord in, out;
};

std::vector<Cas> Jeu() {
    std::vector<Cas> cas;
    const Liste_SysCoord paires[][2] = {{WGS84GG, NTFL2E}, {NTFGG, RGF93L93}, {NTFL2E, RGF93GG}, {RGF93L93, NTFL1C}};
    for (int k = 0; k < 2000; ++k) {
        const double lon = -4.5 + 13.0 * (k % 97) / 97.0, lat = 42.5 + 8.0 * (k % 89) / 89.0;
        const auto& p = paires[k % 4];
        COORDONNEES_TYPE_NC point = {lon, lat};
        if (p[0] != WGS84GG && p[0] != NTFGG) point = SysCoord2SysCoord(point, RGF93GG, p[0]);
        cas.push_back({point, p[0], p[1]});
    }
    return cas;
}

TEST(Concurrency, ThreadsGetTheSerialResults) {
    const std::vector<Cas> cas = Jeu();
    std::vector<COORDONNEES_TYPE_NC> attendu;
    for (const auto& c : cas) attendu.push_back(SysCoord2SysCoord(c.point, c.in, c.out));

    const int nombre = 4;
    std::vector<int> ecarts(nombre, 0);
    std::vector<std::thread> fils;
    for (int f = 0; f < nombre; ++f)
        fils.emplace_back([&, f] {
            for (int tour = 0; tour < 5; ++tour)
                for (size_t k = 0; k < cas.size(); ++k) {
                    const auto r = SysCoord2SysCoord(cas[k].point, cas[k].in, cas[k].out);
                    if (std::memcmp(&r, &attendu[k], sizeof r) != 0) ++ecarts[f];
                }
        });
    for (auto& f : fils) f.join();
    for (int f = 0; f < nombre; ++f) EXPECT_EQ(ecarts[f], 0) << "thread " << f;
}

}  // namespace
