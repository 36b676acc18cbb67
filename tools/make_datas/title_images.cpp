#include "tools/make_datas/title_images.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace datas {

namespace {

constexpr char sans[] = "DejaVuSans-Bold.ttf";
constexpr char serif[] = "DejaVuSerif-Italic.ttf";
constexpr char light[] = "DejaVuSans-ExtraLight.ttf";
constexpr char condensed[] = "DejaVuSansCondensed-Bold.ttf";

struct LibraryRelease {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceRelease {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryRelease>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceRelease>;

// Coverage 0..1 per pixel, the text's ink.
struct Coverage {
    int width = 0, height = 0;
    std::vector<float> values;
    float& at(int x, int y) { return values[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

Face openFace(FT_Library library, const std::filesystem::path& file) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), 0, &face) != 0)
        throw std::runtime_error("cannot load the font " + file.string() + " (is fonts-dejavu-core installed?)");
    return Face(face);
}

int lineWidth(FT_Face face, const std::vector<uint32_t>& text) {
    int width = 0;
    for (uint32_t code : text)
        if (FT_Load_Char(face, code, FT_LOAD_DEFAULT) == 0) width += static_cast<int>(face->glyph->advance.x >> 6);
    return width;
}

void drawLine(FT_Face face, const std::vector<uint32_t>& text, int penX, int baseline, Coverage& ink) {
    for (uint32_t code : text) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        for (unsigned row = 0; row < glyph->bitmap.rows; ++row)
            for (unsigned column = 0; column < glyph->bitmap.width; ++column) {
                const int x = penX + glyph->bitmap_left + static_cast<int>(column);
                const int y = baseline - glyph->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= ink.width || y >= ink.height) continue;
                const uint8_t value = glyph->bitmap.buffer[row * static_cast<unsigned>(glyph->bitmap.pitch) + column];
                ink.at(x, y) = std::max(ink.at(x, y), static_cast<float>(value) / 255.0f);
            }
        penX += static_cast<int>(glyph->advance.x >> 6);
    }
}

// Three box blurs approach a Gaussian halo around the ink.
std::vector<float> halo(const Coverage& ink, int radius) {
    std::vector<float> current = ink.values, next(current.size());
    const auto blur = [&](int dx, int dy, int length) {
        for (int y = 0; y < ink.height; ++y)
            for (int x = 0; x < ink.width; ++x) {
                float sum = 0.0f;
                for (int k = -radius; k <= radius; ++k) {
                    const int sx = std::clamp(x + k * dx, 0, ink.width - 1), sy = std::clamp(y + k * dy, 0, ink.height - 1);
                    sum += current[static_cast<size_t>(sy) * static_cast<size_t>(ink.width) + static_cast<size_t>(sx)];
                }
                next[static_cast<size_t>(y) * static_cast<size_t>(ink.width) + static_cast<size_t>(x)] = sum / static_cast<float>(length);
            }
        std::swap(current, next);
    };
    for (int pass = 0; pass < 3; ++pass) {
        blur(1, 0, 2 * radius + 1);
        blur(0, 1, 2 * radius + 1);
    }
    return current;
}

}  // namespace

std::vector<TitleImage> titleImages() {
    const Colour white{0.95f, 0.95f, 1.0f}, amber{1.0f, 0.85f, 0.55f}, ice{0.75f, 0.9f, 1.0f};
    const Colour blueGlow{0.1f, 0.3f, 0.8f}, orangeGlow{0.8f, 0.3f, 0.05f}, tealGlow{0.05f, 0.5f, 0.55f};
    return {
        {"vrn et qim.jpg", 512, 384, {{"vrn", sans, 0.28f}, {"et", serif, 0.14f}, {"qim", sans, 0.28f}}, white, blueGlow},
        {"presentent.jpg", 640, 480, {{"présentent", serif, 0.16f}}, amber, orangeGlow},
        {"nomDemo.jpg", 640, 480, {{"kvor", sans, 0.42f}, {"une démo temps réel", light, 0.07f}}, white, blueGlow},
        {"complet.jpg", 512, 384, {{"code, scènes", light, 0.09f}, {"musique", light, 0.09f}, {"complet", sans, 0.22f}},
         ice, tealGlow},
        {"mireli.jpg", 640, 480, {{"mireli", serif, 0.24f}}, amber, orangeGlow},
        {"pfo 2k.jpg", 640, 240, {{"pfo 2k", condensed, 0.5f}}, white, blueGlow},
        {"accelerate.jpg", 320, 240, {{"accelerate", condensed, 0.22f}}, ice, tealGlow},
        {"fly.jpg", 320, 240, {{"fly", sans, 0.5f}}, white, blueGlow},
        {"dontstop.jpg", 640, 480, {{"don't stop", condensed, 0.22f}}, amber, orangeGlow},
    };
}

image_writers::Image renderTitle(const TitleImage& title, const std::filesystem::path& fontDirectory) {
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) throw std::runtime_error("FreeType could not start");
    const Library library(rawLibrary);
    Coverage ink{title.width, title.height, std::vector<float>(static_cast<size_t>(title.width) * title.height)};
    struct Placed {
        Face face;
        std::vector<uint32_t> text;
        int width = 0, ascent = 0, descent = 0;
    };
    std::vector<Placed> lines;
    int blockHeight = 0;
    for (const TitleLine& line : title.lines) {
        Placed placed{openFace(library.get(), fontDirectory / line.font), codePoints(line.text)};
        int pixels = std::max(4, static_cast<int>(line.height * static_cast<float>(title.height)));
        FT_Set_Pixel_Sizes(placed.face.get(), 0, static_cast<FT_UInt>(pixels));
        const int maximum = title.width * 88 / 100;
        if (const int width = lineWidth(placed.face.get(), placed.text); width > maximum) {
            pixels = pixels * maximum / width;
            FT_Set_Pixel_Sizes(placed.face.get(), 0, static_cast<FT_UInt>(pixels));
        }
        placed.width = lineWidth(placed.face.get(), placed.text);
        placed.ascent = static_cast<int>(placed.face->size->metrics.ascender >> 6);
        placed.descent = static_cast<int>(-(placed.face->size->metrics.descender >> 6));
        blockHeight += placed.ascent + placed.descent;
        lines.push_back(std::move(placed));
    }
    int top = (title.height - blockHeight) / 2;
    for (Placed& line : lines) {
        drawLine(line.face.get(), line.text, (title.width - line.width) / 2, top + line.ascent, ink);
        top += line.ascent + line.descent;
    }
    const std::vector<float> glow = halo(ink, std::max(2, title.height / 60));
    image_writers::Image image{title.width, title.height, std::vector<uint32_t>(ink.values.size())};
    for (size_t k = 0; k < image.argb.size(); ++k) {
        const Colour halo = times(title.glow, std::min(1.0f, glow[k] * 2.2f));
        image.argb[k] = packed(mixed(halo, title.colour, ink.values[k])) & 0x00FFFFFF;
    }
    return image;
}

std::vector<uint32_t> codePoints(const std::string& text) {
    std::vector<uint32_t> codes;
    for (size_t k = 0; k < text.size();) {
        const auto lead = static_cast<uint8_t>(text[k]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && k + static_cast<size_t>(length) <= text.size();
        uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1Fu : length == 3 ? lead & 0x0Fu : lead & 0x07u;
        for (int extra = 1; valid && extra < length; ++extra) {
            const auto next = static_cast<uint8_t>(text[k + static_cast<size_t>(extra)]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3Fu);
        }
        codes.push_back(valid ? code : lead);
        k += valid ? static_cast<size_t>(length) : 1;
    }
    return codes;
}

}  // namespace datas
