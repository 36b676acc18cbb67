#include "tools/make_datas/texture_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/make_datas/noise.h"
#include "tools/make_datas/turn.h"

namespace datas {

namespace {


uint8_t channel(float value) { return static_cast<uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f); }

// The light on a tube at angle v (0..1 round it) under a lamp above and in front.
float tubeLight(float v) {
    const float angle = v * turn;
    const float diffuse = std::max(0.0f, std::cos(angle - 1.1f));
    const float highlight = std::pow(std::max(0.0f, std::cos(angle - 1.3f)), 24.0f);
    return 0.18f + 0.72f * diffuse + 0.6f * highlight;
}

float highlightOf(float v) { return std::pow(std::max(0.0f, std::cos(v * turn - 1.3f)), 24.0f); }

// Ground noise that tiles over the image.
float tiledNoise(float u, float v, int cells, int octaves, uint32_t seed) {
    return fractalNoise(u * static_cast<float>(cells), v * static_cast<float>(cells), octaves, seed, cells);
}

}  // namespace

Colour mixed(const Colour& a, const Colour& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour times(const Colour& colour, float factor) { return {colour.r * factor, colour.g * factor, colour.b * factor}; }

uint32_t packed(const Colour& colour, float alpha) {
    return static_cast<uint32_t>(channel(alpha)) << 24 | static_cast<uint32_t>(channel(colour.r)) << 16 |
           static_cast<uint32_t>(channel(colour.g)) << 8 | channel(colour.b);
}

image_writers::Image painted(uint16_t size, const std::function<uint32_t(float, float)>& paint) {
    image_writers::Image image{size, size, std::vector<uint32_t>(static_cast<size_t>(size) * size)};
    for (uint16_t y = 0; y < size; ++y)
        for (uint16_t x = 0; x < size; ++x)
            image.argb[static_cast<size_t>(y) * size + x] =
                paint((static_cast<float>(x) + 0.5f) / size, (static_cast<float>(y) + 0.5f) / size);
    return image;
}

image_writers::Image shadedTube(uint16_t size, const Colour& base, const Colour& stripe, uint32_t seed) {
    return painted(size, [&](float u, float v) {
        const float bands = 0.5f + 0.5f * std::cos(u * turn * 8.0f);
        const float grain = tiledNoise(u, v, 16, 3, seed);
        const Colour surface = mixed(base, stripe, std::pow(bands, 6.0f) * 0.8f + grain * 0.15f);
        const Colour lit = times(surface, tubeLight(v));
        return packed(mixed(lit, {1.0f, 1.0f, 1.0f}, highlightOf(v) * 0.7f));
    });
}

image_writers::Image lavaTube(uint16_t size, uint32_t seed) {
    return painted(size, [&](float u, float v) {
        const float cracks = std::abs(tiledNoise(u, v, 8, 4, seed) - 0.5f) * 2.0f;
        const float glow = std::pow(1.0f - cracks, 8.0f);
        const Colour crust = times({0.22f, 0.16f, 0.14f}, tubeLight(v));
        const Colour molten = mixed({1.0f, 0.25f, 0.02f}, {1.0f, 0.9f, 0.3f}, glow);
        return packed(mixed(crust, molten, std::min(1.0f, glow * 1.4f)));
    });
}

image_writers::Image grass(uint16_t size, float light) {
    return painted(size, [&](float u, float v) {
        const float blades = tiledNoise(u, v, 32, 2, 11);
        const float patches = tiledNoise(u, v, 4, 3, 12);
        const Colour colour = mixed({0.18f, 0.34f, 0.10f}, {0.45f, 0.55f, 0.18f}, patches * 0.7f + blades * 0.3f);
        return packed(times(colour, 0.35f + 0.75f * light));
    });
}

image_writers::Image rock(uint16_t size, float light) {
    return painted(size, [&](float u, float v) {
        const float strata = 0.5f + 0.5f * std::sin((v + tiledNoise(u, v, 4, 2, 21) * 0.4f) * turn * 6.0f);
        const float grain = tiledNoise(u, v, 16, 4, 22);
        const Colour colour = mixed({0.30f, 0.27f, 0.25f}, {0.58f, 0.52f, 0.46f}, grain * 0.7f + strata * 0.3f);
        return packed(times(colour, 0.3f + 0.8f * light));
    });
}

image_writers::Image snow(uint16_t size, float light) {
    return painted(size, [&](float u, float v) {
        const float drift = tiledNoise(u, v, 8, 3, 31);
        const Colour colour = mixed({0.72f, 0.78f, 0.88f}, {0.97f, 0.98f, 1.0f}, drift);
        return packed(times(colour, 0.45f + 0.6f * light));
    });
}

image_writers::Image nightSky(uint16_t size) {
    return painted(size, [size](float u, float v) {
        // The dome's v runs from 0.1 rad below the horizon to 1.5 rad above.
        const float elevation = -0.1f + v * 1.6f;
        const float height = std::clamp(elevation / 1.2f, 0.0f, 1.0f);
        Colour sky = mixed({0.35f, 0.55f, 0.65f}, {0.02f, 0.05f, 0.18f}, std::sqrt(height));
        const float star = latticeValue(static_cast<int>(u * size), static_cast<int>(v * size), 101);
        if (height > 0.2f && star > 0.995f) sky = mixed(sky, {1.0f, 1.0f, 0.95f}, (star - 0.995f) * 200.0f);
        return packed(sky);
    });
}

image_writers::Image marble(uint16_t size) {
    return painted(size, [](float u, float v) {
        const float warp = tiledNoise(u, v, 4, 5, 41) * 3.0f;
        const float veins = std::pow(std::abs(std::sin((u * 3.0f + warp) * std::numbers::pi_v<float>)), 0.3f);
        // Light falls on the side of each column that faces the hall's entrance
        // (u = 0.75 looks down the hall towards it).
        const float light = 0.45f + 0.55f * (0.5f + 0.5f * std::cos((u - 0.75f) * turn));
        return packed(times(mixed({0.45f, 0.40f, 0.36f}, {0.93f, 0.90f, 0.84f}, veins), light));
    });
}

image_writers::Image wallBlocks(uint16_t size) {
    return painted(size, [](float u, float v) {
        const int row = static_cast<int>(v * 4.0f);
        const float shifted = u * 2.0f + (row % 2 == 1 ? 0.5f : 0.0f);
        const float jointU = std::abs(shifted - std::round(shifted));
        const float jointV = std::abs(v * 4.0f - std::round(v * 4.0f));
        const bool joint = jointU < 0.02f || jointV < 0.04f;
        const float stone = tiledNoise(u, v, 16, 4, 51);
        const float block = latticeValue(static_cast<int>(shifted), row, 52) * 0.2f;
        const Colour colour = mixed({0.42f, 0.33f, 0.25f}, {0.70f, 0.60f, 0.46f}, stone * 0.6f + block);
        return packed(joint ? times(colour, 0.35f) : colour);
    });
}

image_writers::Image ceilingPanels(uint16_t size) {
    return painted(size, [](float u, float v) {
        const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
        const float grain = 0.5f + 0.5f * std::sin((u * 40.0f + tiledNoise(u, v, 4, 3, 61) * 6.0f) * turn * 0.5f);
        const Colour wood = mixed({0.30f, 0.16f, 0.07f}, {0.52f, 0.31f, 0.14f}, grain);
        const float bevel = edge < 0.08f ? 0.55f : edge < 0.12f ? 1.25f : 1.0f;
        return packed(times(wood, bevel), 1.0f);
    });
}

image_writers::Image bronze(uint16_t size) {
    return painted(size, [](float u, float v) {
        const float rings = 0.5f + 0.5f * std::cos(u * turn * 12.0f);
        const Colour metal = mixed({0.45f, 0.28f, 0.10f}, {0.95f, 0.72f, 0.35f}, rings * 0.4f + tubeLight(v) * 0.6f);
        return packed(mixed(metal, {1.0f, 0.95f, 0.8f}, highlightOf(v) * 0.6f));
    });
}

image_writers::Image glassPane(uint16_t size) {
    return painted(size, [](float u, float v) {
        const float frameU = std::min(std::abs(u - 0.5f), std::min(u, 1.0f - u));
        const float frameV = std::min(std::abs(v - 0.5f), std::min(v, 1.0f - v));
        if (std::min(frameU, frameV) < 0.025f) return packed({0.12f, 0.11f, 0.10f}, 1.0f);
        const float sheen = std::max(0.0f, 1.0f - std::abs((u + v) - 0.8f) * 6.0f);
        const Colour glass = mixed({0.45f, 0.65f, 0.75f}, {0.9f, 0.97f, 1.0f}, sheen);
        return packed(glass, 0.35f + 0.35f * sheen);
    });
}

image_writers::Image stainedGlass(uint16_t size) {
    const Colour colours[] = {{0.85f, 0.15f, 0.12f}, {0.15f, 0.35f, 0.9f}, {0.95f, 0.75f, 0.15f}, {0.2f, 0.7f, 0.3f}};
    return painted(size, [&](float u, float v) {
        const float a = (u + v) * 4.0f, b = (u - v) * 4.0f;
        const float lead = std::min(std::abs(a - std::round(a)), std::abs(b - std::round(b)));
        if (lead < 0.05f) return packed({0.08f, 0.07f, 0.06f}, 1.0f);
        const int cell = static_cast<int>(std::floor(a)) * 7 + static_cast<int>(std::floor(b));
        const Colour colour = colours[static_cast<size_t>(latticeValue(cell, 0, 71) * 4.0f) % 4];
        return packed(times(colour, 0.8f + 0.4f * tiledNoise(u, v, 8, 2, 72)), 0.55f);
    });
}

image_writers::Image granite(uint16_t size) {
    return painted(size, [size](float u, float v) {
        const float speckle = latticeValue(static_cast<int>(u * size), static_cast<int>(v * size), 81);
        const float grey = 0.35f + 0.25f * tiledNoise(u, v, 8, 3, 82) + (speckle > 0.9f ? 0.3f : speckle * 0.1f);
        return packed({grey, grey, grey});
    });
}

MappedImage floorTiles(uint16_t size) {
    MappedImage image{size, std::vector<uint8_t>(static_cast<size_t>(size) * size), std::vector<uint32_t>(256)};
    // Entries 0-127 dark marble, 128-255 light marble, each ramp from shadow to polish.
    for (size_t k = 0; k < 128; ++k) {
        const float t = static_cast<float>(k) / 127.0f;
        image.palette[k] = packed(mixed({0.06f, 0.07f, 0.09f}, {0.30f, 0.32f, 0.36f}, t)) & 0x00FFFFFF;
        image.palette[128 + k] = packed(mixed({0.55f, 0.52f, 0.47f}, {0.95f, 0.93f, 0.88f}, t)) & 0x00FFFFFF;
    }
    for (uint16_t y = 0; y < size; ++y)
        for (uint16_t x = 0; x < size; ++x) {
            const float u = (x + 0.5f) / size, v = (y + 0.5f) / size;
            const bool light = (static_cast<int>(u * 2.0f) + static_cast<int>(v * 2.0f)) % 2 == 0;
            const float vein = std::abs(std::sin((u + v + tiledNoise(u, v, 4, 4, 91) * 1.5f) * turn * 2.0f));
            const auto shade = static_cast<uint8_t>(std::clamp(40.0f + 87.0f * std::pow(vein, 0.4f), 0.0f, 127.0f));
            image.indices[static_cast<size_t>(y) * size + x] = static_cast<uint8_t>(shade + (light ? 128 : 0));
        }
    return image;
}

}  // namespace datas
