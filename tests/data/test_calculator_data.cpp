// The files shipped with the calculator besides the grids: the map bitmaps
// (resources 149 and 152) and the information text.
#include <gtest/gtest.h>

#include "file_bytes.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::uint32_t u32(const std::string& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t u16(const std::string& b, std::size_t at) {
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

struct Pixel {
    int r, g, b;
};

// An uncompressed 24-bit Windows bitmap (BITMAPFILEHEADER + BITMAPINFOHEADER),
// checked field by field; the pixels bottom-up, rows padded to 4 bytes.
struct Bitmap {
    int width = 0, height = 0;
    std::vector<Pixel> pixels;

    static Bitmap load(const fs::path& path) {
        const std::string b = file_bytes(path);
        Bitmap bmp;
        EXPECT_GE(b.size(), 54u) << path;
        if (b.size() < 54) return bmp;
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(u32(b, 2), b.size()) << "file size field";
        const std::uint32_t offset = u32(b, 10);
        EXPECT_EQ(u32(b, 14), 40u) << "BITMAPINFOHEADER";
        const std::int32_t w = std::int32_t(u32(b, 18)), h = std::int32_t(u32(b, 22));
        EXPECT_EQ(u16(b, 26), 1) << "planes";
        EXPECT_EQ(u16(b, 28), 24) << "bits per pixel";
        EXPECT_EQ(u32(b, 30), 0u) << "BI_RGB, uncompressed";
        EXPECT_EQ(u32(b, 46), 0u) << "no colour table";
        EXPECT_GT(h, 0) << "bottom-up rows";
        const std::size_t stride = (std::size_t(w) * 3 + 3) / 4 * 4;
        EXPECT_EQ(b.size(), offset + stride * std::size_t(h)) << "pixel array fills the file";
        if (b.size() < offset + stride * std::size_t(h) || w <= 0 || h <= 0) return bmp;
        bmp.width = w;
        bmp.height = h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::size_t at = offset + stride * std::size_t(y) + 3 * std::size_t(x);
                bmp.pixels.push_back({std::uint8_t(b[at + 2]), std::uint8_t(b[at + 1]), std::uint8_t(b[at])});
            }
        return bmp;
    }

    double share(bool (*test)(const Pixel&)) const {
        std::size_t n = 0;
        for (const Pixel& p : pixels) n += test(p) ? 1 : 0;
        return pixels.empty() ? 0.0 : double(n) / double(pixels.size());
    }
};

bool white(const Pixel& p) { return p.r > 240 && p.g > 240 && p.b > 240; }
bool green(const Pixel& p) { return p.g > 100 && p.g > p.r + 60 && p.g > p.b + 60; }
bool red(const Pixel& p) { return p.r > 150 && p.r > p.g + 80 && p.r > p.b + 80; }
bool black(const Pixel& p) { return p.r < 60 && p.g < 60 && p.b < 60; }

const fs::path kResources = RESOURCES_DIR;
const fs::path kData = DATA_DIR;

}  // namespace

TEST(MapBitmaps, MapIs908By836In24BitColour) {
    const Bitmap map = Bitmap::load(kResources / "declination_map.bmp");
    EXPECT_EQ(map.width, 908);
    EXPECT_EQ(map.height, 836);
    // White ground, green shores, red borders, black isogonic lines.
    EXPECT_GT(map.share(white), 0.80);
    EXPECT_GT(map.share(green), 0.005);
    EXPECT_GT(map.share(red), 0.003);
    EXPECT_GT(map.share(black), 0.005);
}

TEST(MapBitmaps, ThumbnailIs150By115In24BitColour) {
    const Bitmap small = Bitmap::load(kResources / "declination_map_small.bmp");
    EXPECT_EQ(small.width, 150);
    EXPECT_EQ(small.height, 115);
    EXPECT_GT(small.share(white), 0.50);
    EXPECT_GT(small.share(green), 0.01);
    EXPECT_GT(small.share(red), 0.01);
}

namespace {
std::vector<std::string> info_lines() {
    std::istringstream in(file_bytes(kData / "info.txt"));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}
}  // namespace

TEST(InfoText, WindowsTextLinesTheDialogShowsWhole) {
    const std::string text = file_bytes(kData / "info.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (const std::string& line : info_lines()) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), '\r') << line;
        // The dialog reads at most 255 characters at a time.
        EXPECT_LE(line.size() - 1, 255u) << line;
    }
}

TEST(InfoText, FrenchInWindows1252) {
    const std::string text = file_bytes(kData / "info.txt");
    for (std::size_t k = 0; k < text.size(); ++k) {
        const unsigned char c = text[k];
        // Bytes Windows-1252 leaves undefined, and control characters.
        EXPECT_FALSE(c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) << "byte " << k;
        EXPECT_FALSE(c < 0x20 && c != '\r' && c != '\n') << "byte " << k;
        // No UTF-8: 0xC3 (start of é, è, à... in UTF-8) followed by a continuation byte.
        if (c == 0xC3 && k + 1 < text.size()) {
            EXPECT_FALSE((text[k + 1] & 0xC0) == 0x80) << "UTF-8 at " << k;
        }
    }
    EXPECT_NE(text.find("D\xE9" "clinaison"), std::string::npos);  // é is 0xE9
    EXPECT_NE(text.find("P\xC9RIODE DE VALIDIT\xC9"), std::string::npos);
    EXPECT_NE(text.find("(\xB0)"), std::string::npos);  // the degree sign the results use
}

TEST(InfoText, SaysWhatTheUserNeedsToReadTheResults) {
    const std::string text = file_bytes(kData / "info.txt");
    for (const char* needed : {"Norvane 3.0", "Du 1er janvier 2009 au 31 d\xE9" "cembre 2015",
                               "IGRF-13", "2009.5", "degr\xE9s par an", "est du nord", "5 km",
                               "sans interpolation", "quelques dixi\xE8mes de degr\xE9", "2191 jours"})
        EXPECT_NE(text.find(needed), std::string::npos) << needed;
}
