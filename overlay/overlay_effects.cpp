#include "overlay/overlay_effects.h"

#include <cmath>

#include "overlay/overlay.h"

namespace {

constexpr float startPhase = -1.57f;  // almost -pi/2: a sine of p starts near -1

uint32_t grey(uint32_t g) { return g | g << 8 | g << 16; }

// A float carried from entry to entry: each step added in double.
void advance(float& value, double step) { value = static_cast<float>(static_cast<double>(value) + step); }

// The C library's double functions of a float promoted, widened for the
// products taken in long double.
long double sineOf(float angle) { return std::sin(static_cast<double>(angle)); }
long double cosineOf(float angle) { return std::cos(static_cast<double>(angle)); }

float rounded(long double value) { return static_cast<float>(value); }

// A rectangle (or a quad given by its four corners, 0 top left, 1 bottom left,
// 2 bottom right, 3 top right) with one colour, as entry j.
struct Quad {
    float x0, y0, x1, y1, x2, y2, x3, y3;
};

void setEntry(Overlay& overlay, int32_t j, const Quad& quad, uint32_t colour) {
    const size_t at = static_cast<size_t>(j);
    overlay.corners[0][at] = {quad.x0, quad.y0, colour};
    overlay.corners[1][at] = {quad.x1, quad.y1, colour};
    overlay.corners[2][at] = {quad.x2, quad.y2, colour};
    overlay.corners[3][at] = {quad.x3, quad.y3, colour};
}

// Black to opaqueWhite over the first 50 entries (5.12 grey levels each, the product
// kept in double so that j = 25 gives 127), then back down over the last nine
// (25.6 each, in float), which take precedence.
uint32_t fadeInOutColour(int32_t j, int32_t duration) {
    if (j > duration - 10) {
        const float level = static_cast<float>(duration - j) * 25.6f;
        const auto g = static_cast<int32_t>(level);
        return grey(static_cast<uint32_t>(g < 0 ? 0 : g > 255 ? 255 : g));
    }
    if (j < 50) return grey(static_cast<uint32_t>(static_cast<double>(j) * static_cast<double>(5.12f)));
    return opaqueWhite;
}

void fixedQuadFading(Overlay& overlay, const Quad& quad) {
    for (int32_t j = 0; j < overlay.entryCount(); ++j) setEntry(overlay, j, quad, fadeInOutColour(j, overlay.duration));
}

// A quarter-screen quad with its top-left corner at (left, top), circling by
// radius x (cos t, sin t), its colour pulsing with p.
void pulsingQuarter(Overlay& overlay, double left, double top, double radius, double phaseStep) {
    float p = startPhase;
    float t = 0.0f;
    const long double l = left;
    const long double tp = top;
    for (int32_t j = 0; j < overlay.entryCount(); ++j) {
        const uint32_t colour = greyLevel(rounded((sineOf(p) + 1) * static_cast<long double>(0.5)));
        advance(p, phaseStep);
        const long double dx = static_cast<long double>(radius) * cosineOf(t);
        const long double dy = static_cast<long double>(radius) * sineOf(t);
        const Quad quad{rounded(l + dx),         rounded(tp + dy),       rounded(l + dx),
                        rounded(tp + 0.5L + dy), rounded(l + 0.5L + dx), rounded(tp + 0.5L + dy),
                        rounded(l + 0.5L + dx),  rounded(tp + dy)};
        setEntry(overlay, j, quad, colour);
        advance(t, 1.0);
    }
}

}  // namespace

uint32_t greyLevel(float intensity) {
    if (intensity > 1.0f) intensity = 1.0f;
    if (!(intensity > 0.0f)) intensity = 0.0f;
    return grey(static_cast<uint32_t>(static_cast<double>(intensity) * 255.0));
}

void fadePanel(Overlay& overlay) { fixedQuadFading(overlay, Quad{0, 0, 0, 0.8f, 0.8f, 0.8f, 0.8f, 0}); }

void fadeSkewed(Overlay& overlay) { fixedQuadFading(overlay, Quad{0, 0, 0.2f, 1, 1, 1, 1, 0.2f}); }

void pulseTopLeft(Overlay& overlay) { pulsingQuarter(overlay, 0.0, 0.0, 0.0125, 0.8); }

void pulseBottomRight(Overlay& overlay) { pulsingQuarter(overlay, 0.5, 0.5, 0.02, 0.2); }

void swingVertical(Overlay& overlay) {
    float p = startPhase;
    float t = 0.0f;
    for (int32_t j = 0; j < overlay.entryCount(); ++j) {
        const long double b = sineOf(p) * static_cast<long double>(0.3333333333333333) + static_cast<long double>(0.5);
        const uint32_t colour = greyLevel(rounded(b));
        advance(p, 0.2);
        const long double h = cosineOf(t);
        const float top = rounded(-h);
        const float bottom = rounded(1 + h);
        setEntry(overlay, j, Quad{0, top, 0, bottom, 1, bottom, 1, top}, colour);
        advance(t, 0.2);
    }
}

void fadeInBottom(Overlay& overlay) {
    const Quad bottomHalf{0, 0.5f, 0, 1, 1, 1, 1, 0.5f};
    for (int32_t j = 0; j < overlay.entryCount(); ++j) {
        const float intensity = static_cast<float>(j) / static_cast<float>(overlay.duration);
        setEntry(overlay, j, bottomHalf, greyLevel(intensity));
    }
}
