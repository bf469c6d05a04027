// The web page's WebAssembly module: what the page and its worker call, over
// the engine, the calculator core and the command-line programs' own text
// handling. Texts cross the boundary in UTF-8; a result stays valid until the
// next call of the same function. The page's script (page.js) owns the calls.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "conversion.h"
#include "interne.h"
#include "map_frame.h"
#include "systemes.h"

// A field of the page without the blanks around it (the declination's fields
// too, declination.cpp).
std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

namespace {

using geokern_conv::ConvertisseurLignes;
using geokern_conv::EntreeLignes;
using geokern_conv::Issue;
using geokern_conv::Systeme;
using geokern_conv::TrouveSysteme;

// ---- One point, by geokern-conv's rules for one line -----------------------

std::string g_resultX, g_resultY, g_pointMessage;

// A field holding a separator would make the line hold more than two numbers.
bool SingleField(std::string_view field) { return field.find_first_of(" \t;") == std::string_view::npos; }


// ---- A whole file, fed in pieces --------------------------------------------

// The first failures of a file, one per line: "ligne N : reason", then how
// many more there are.
class FileReport : public geokern_conv::Rapporteur {
public:
    static constexpr std::uint64_t kMaximum = 100;
    void Echec(std::uint64_t line, const char* reason) override {
        if (count_++ < kMaximum) text_ += "ligne " + std::to_string(line) + " : " + reason + "\n";
    }
    const std::string& Text() {
        whole_ = text_;
        if (count_ > kMaximum) {
            const std::uint64_t more = count_ - kMaximum;
            whole_ += "… et " + std::to_string(more) + (more == 1 ? " autre ligne en échec\n" : " autres lignes en échec\n");
        }
        return whole_;
    }

private:
    std::uint64_t count_ = 0;
    std::string text_, whole_;
};

struct File {
    File(const Systeme& source, const Systeme& target, bool precision, bool header)
        : converter(source, target, precision), input(converter, header, report) {}
    FileReport report;
    ConvertisseurLignes converter;
    EntreeLignes input;
    std::string output;
};
File* g_file = nullptr;

}  // namespace

extern "C" {

// The catalogue for the page's lists: name and description of system 1 to 12.
EMSCRIPTEN_KEEPALIVE const char* web_system_name(int code) {
    const Systeme* system = geokern_conv::SystemeDeCode(code);
    return system != nullptr ? system->nom : "";
}
EMSCRIPTEN_KEEPALIVE const char* web_system_description(int code) {
    const Systeme* system = geokern_conv::SystemeDeCode(code);
    return system != nullptr ? system->description : "";
}

// One point from the system named source to the one named target: 1 when it
// was converted (web_result_x and _y hold the texts geokern-conv writes), 0
// otherwise (both results are its failure marker and web_point_message says why).
EMSCRIPTEN_KEEPALIVE int web_convert_point(const char* source, const char* target, const char* x, const char* y) {
    const Systeme* sourceSystem = TrouveSysteme(source);
    const Systeme* targetSystem = TrouveSysteme(target);
    const std::string_view fieldX = WithoutBlanks(x), fieldY = WithoutBlanks(y);
    g_resultX.assign(1, geokern_conv::MARQUE_ECHEC);
    g_resultY.assign(1, geokern_conv::MARQUE_ECHEC);
    if (sourceSystem == nullptr || targetSystem == nullptr) {
        g_pointMessage = "système inconnu";
        return 0;
    }
    if (!SingleField(fieldX) || !SingleField(fieldY)) {
        g_pointMessage = "un seul nombre par champ";
        return 0;
    }
    // The line "x<tab>y": the tab makes a comma a decimal comma, refused.
    const std::string line = std::string(fieldX) + '\t' + std::string(fieldY);
    ConvertisseurLignes converter(*sourceSystem, *targetSystem, false);
    std::string output;
    const geokern_conv::Bilan outcome = converter.Convertit(line, output);
    if (outcome.issue == Issue::Recopiee) {  // an empty or '#' first field
        g_pointMessage = fieldX.empty() ? "premier nombre manquant" : "premier nombre illisible";
        return 0;
    }
    if (outcome.issue == Issue::Echec) {
        g_pointMessage = outcome.raison;
        return 0;
    }
    const std::size_t tab = output.find('\t');
    g_resultX = output.substr(0, tab);
    g_resultY = output.substr(tab + 1);
    g_pointMessage.clear();
    return 1;
}
EMSCRIPTEN_KEEPALIVE const char* web_result_x() { return g_resultX.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_result_y() { return g_resultY.c_str(); }
EMSCRIPTEN_KEEPALIVE const char* web_point_message() { return g_pointMessage.c_str(); }

// The same transformation over arrays of n points (x then y of the source
// system, in its units), in place: the engine's array function. Returns the
// number of failed points, which come back as the failure pair.
EMSCRIPTEN_KEEPALIVE int web_convert_arrays(double* x, double* y, int n, int source, int target) {
    return SysCoord2SysCoordTableau(x, y, x, y, n, static_cast<Liste_SysCoord>(source),
                                    static_cast<Liste_SysCoord>(target));
}

// A file: begin, feed pieces of any size (each call's output replaces the
// previous one), end; then the counts and the first failures.
EMSCRIPTEN_KEEPALIVE int web_file_begin(const char* source, const char* target, int precision, int header) {
    delete g_file;
    g_file = nullptr;
    const Systeme* sourceSystem = TrouveSysteme(source);
    const Systeme* targetSystem = TrouveSysteme(target);
    if (sourceSystem == nullptr || targetSystem == nullptr) return 0;
    g_file = new File(*sourceSystem, *targetSystem, precision != 0, header != 0);
    return 1;
}
EMSCRIPTEN_KEEPALIVE int web_file_add(const char* data, int size) {
    g_file->output.clear();
    g_file->input.Ajoute(data, static_cast<std::size_t>(size), g_file->output);
    return static_cast<int>(g_file->output.size());
}
EMSCRIPTEN_KEEPALIVE int web_file_end() {
    g_file->output.clear();
    g_file->input.Termine(g_file->output);
    return static_cast<int>(g_file->output.size());
}
EMSCRIPTEN_KEEPALIVE const char* web_file_output() { return g_file->output.data(); }
EMSCRIPTEN_KEEPALIVE double web_file_lines() { return static_cast<double>(g_file->input.Lignes()); }
EMSCRIPTEN_KEEPALIVE double web_file_failures() { return static_cast<double>(g_file->input.Echecs()); }
EMSCRIPTEN_KEEPALIVE const char* web_file_report() { return g_file->report.Text().c_str(); }

// A point of the declination map's bitmap (pixels from its top left corner)
// as WGS84 longitude and latitude in degrees: 1 inside the map's frame, 0
// outside. The map is in Mercator on the WGS84 ellipsoid: the longitude is
// linear across the frame, the isometric latitude linear down it.
EMSCRIPTEN_KEEPALIVE int web_map_position(double px, double py, double* longitude, double* latitude) {
    const double u = (px - kFrameLeft) / (kFrameRight - kFrameLeft);
    const double v = (kFrameBottom - py) / (kFrameBottom - kFrameTop);
    if (!(u >= 0.0 && u <= 1.0 && v >= 0.0 && v <= 1.0)) return 0;
    const double e = ConstantesSysCoord(WGS84GG)->ellipsoide_Excentricite;
    const double isoSouth = LatitudeIso(degre2radian(kMapSouth), e);
    const double isoNorth = LatitudeIso(degre2radian(kMapNorth), e);
    *longitude = kMapWest + u * (kMapEast - kMapWest);
    *latitude = radian2degre(LatitudeIsoInverse(isoSouth + v * (isoNorth - isoSouth), e));
    return 1;
}
EMSCRIPTEN_KEEPALIVE int web_map_width() { return kMapWidth; }
EMSCRIPTEN_KEEPALIVE int web_map_height() { return kMapHeight; }

}  // extern "C"
