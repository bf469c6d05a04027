/* convertir: a few points through geokern, from a C program.
 *
 * Build against an installed geokern, with CMake (see CMakeLists.txt here) or
 * with pkg-config:
 *     cc -std=c11 convertir.c $(pkg-config --cflags --libs geokern) -o convertir
 */
#include <stdio.h>

#include <geokern2.h>

static void convertir(const char* nom, double x, double y, Liste_SysCoord de, Liste_SysCoord vers) {
    COORDONNEES_TYPE_NC point;
    point.x_lambda = x;
    point.y_phi = y;
    const COORDONNEES_TYPE_NC resultat = SysCoord2SysCoord(point, de, vers);
    if (GeokernEchec(resultat))
        printf("%s: cannot be transformed\n", nom);
    else
        printf("%s: %.3f %.3f\n", nom, resultat.x_lambda, resultat.y_phi);
}

int main(void) {
    /* Degrees (longitude, latitude) in, metres (easting, northing) out. */
    convertir("Paris WGS84 -> NTF Lambert II etendu", 2.35, 48.85, WGS84GG, NTFL2E);
    convertir("Lambert 93 origin RGF93 -> Lambert 93", 3.0, 46.5, RGF93GG, RGF93L93);
    convertir("Lambert II etendu -> Lambert 93 (grid)", 600000.0, 2400000.0, NTFL2E, RGF93L93);
    convertir("Outside the datum-shift grid", 20.0, 46.0, RGF93GG, NTFL2E);

    /* The text form: the result lives in the library's one static buffer,
     * valid until the next call; an empty text means failure. */
    printf("text: %s\n", CSysCoord2SysCoord("700000@6600000", RGF93L93, RGF93GG));
    printf("text: %s\n", CSysCoord2SysCoord("2.35@48.85", WGS84GG, NTFL2E));
    printf("text without '@': \"%s\"\n", CSysCoord2SysCoord("2.35 48.85", WGS84GG, NTFL2E));
    return 0;
}
