// The tables the effects fill, against values worked out by hand. Every
// effect is also checked bit for bit by the independent reading that
// kvor-inspect overlay is tested against.

#include "overlay/overlay_effects.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "overlay/overlay.h"
#include "tests/support/test_support.h"

namespace {

// An overlay with tables for duration frames, no image, no device.
struct Prepared {
    explicit Prepared(int32_t duration) {
        overlay.duration = duration;
        overlay.allocateCornerTables();
        overlay.defaultPath();
    }
    const CornerEntry& at(size_t corner, size_t j) const { return overlay.corners[corner].at(j); }
    Overlay overlay;
};

void expectCorners(const Prepared& prepared, size_t j, std::array<std::array<float, 2>, 4> expected) {
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(prepared.at(k, j).x, expected[k][0]) << "corner " << k << " entry " << j;
        EXPECT_FLOAT_EQ(prepared.at(k, j).y, expected[k][1]) << "corner " << k << " entry " << j;
    }
}

// Every corner of entry j carries the same colour.
uint32_t colourOf(const Prepared& prepared, size_t j) {
    for (size_t k = 1; k < 4; ++k) EXPECT_EQ(prepared.at(k, j).colour, prepared.at(0, j).colour) << "entry " << j;
    return prepared.at(0, j).colour;
}

}  // namespace

TEST(GreyLevel, ClampsAndTruncates) {
    struct Case {
        float intensity;
        uint32_t colour;
    };
    for (const Case& c : {Case{1.7f, 0x00FFFFFF}, Case{1.0f, 0x00FFFFFF}, Case{0.5f, 0x007F7F7F},
                          Case{0.25f, 0x003F3F3F}, Case{0.0f, 0}, Case{-0.3f, 0}, Case{1.0f / 255, 0x00010101},
                          Case{0.99f, 0x00FCFCFC}, Case{std::nanf(""), 0}}) {
        EXPECT_EQ(greyLevel(c.intensity), c.colour) << c.intensity;
    }
}

TEST(FadingPanels, FadeInOverFiftyFramesOutOverTheLastNine) {
    struct Case {
        size_t j;
        uint32_t colour;
    };
    // 350 frames: j x 5.12 below 50 (25 gives 127.99999 -> 127), white, then
    // (350 - j) x 25.6 from j = 341.
    const Case cases[] = {{0, 0},           {1, 0x00050505},   {25, 0x007F7F7F},  {49, 0x00FAFAFA},
                          {50, 0xFFFFFFFF}, {340, 0xFFFFFFFF}, {341, 0x00E6E6E6}, {345, 0x00808080},
                          {349, 0x00191919}};
    for (auto effect : {fadePanel, fadeSkewed}) {
        Prepared prepared(350);
        effect(prepared.overlay);
        for (const Case& c : cases) EXPECT_EQ(colourOf(prepared, c.j), c.colour) << "entry " << c.j;
    }
}

TEST(FadingPanels, FadeOutWinsOverFadeInOnAShortLife) {
    Prepared prepared(12);
    fadePanel(prepared.overlay);
    // Entries 0 to 2 fade in (j <= duration - 10), then (12 - j) x 25.6 from 9 x 25.6 = 230 down.
    const uint32_t expected[12] = {0,          0x00050505, 0x000A0A0A, 0x00E6E6E6, 0x00CCCCCC, 0x00B3B3B3,
                                   0x00999999, 0x00808080, 0x00666666, 0x004C4C4C, 0x00333333, 0x00191919};
    for (size_t j = 0; j < 12; ++j) EXPECT_EQ(colourOf(prepared, j), expected[j]) << "entry " << j;
}

TEST(FadingPanels, Positions) {
    Prepared panel(60);
    fadePanel(panel.overlay);
    Prepared skewed(60);
    fadeSkewed(skewed.overlay);
    for (size_t j : {0u, 30u, 59u}) {
        expectCorners(panel, j, {{{0, 0}, {0, 0.8f}, {0.8f, 0.8f}, {0.8f, 0}}});
        expectCorners(skewed, j, {{{0, 0}, {0.2f, 1}, {1, 1}, {1, 0.2f}}});
    }
}

TEST(FadeInBottom, RisesLinearlyOverItsWholeLife) {
    Prepared prepared(4);
    fadeInBottom(prepared.overlay);
    const uint32_t expected[4] = {0, 0x003F3F3F, 0x007F7F7F, 0x00BFBFBF};
    for (size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(colourOf(prepared, j), expected[j]);
        expectCorners(prepared, j, {{{0, 0.5f}, {0, 1}, {1, 1}, {1, 0.5f}}});
    }
}

TEST(SwingVertical, ThreeScreensTallAtFirstThenFlipping) {
    Prepared prepared(40);
    swingVertical(prepared.overlay);
    expectCorners(prepared, 0, {{{0, -1}, {0, 2}, {1, 2}, {1, -1}}});
    // sin(-1.57) / 3 + 0.5 = 0.16667 -> 42.
    EXPECT_EQ(colourOf(prepared, 0), 0x002A2A2Au);
    // t = 1.6 after eight steps: cos 1.6 = -0.0292, the image just past flat.
    const float h = std::cos(1.6f);
    const float ys[4] = {-h, 1 + h, 1 + h, -h};
    for (size_t k = 0; k < 4; ++k) EXPECT_NEAR(prepared.at(k, 8).y, ys[k], 1e-6) << k;
    // p = -1.57 + 8 x 0.2 = 0.03: 0.03 / 3 + 0.5 = 0.51 -> 130.
    EXPECT_EQ(colourOf(prepared, 8), 0x00828282u);
}

TEST(NoLife, NoTablesAndEffectsTouchNothing) {
    for (int32_t duration : {0, -5}) {
        Prepared prepared(duration);
        for (auto effect : {fadePanel, fadeSkewed, pulseTopLeft, pulseBottomRight, swingVertical, fadeInBottom})
            effect(prepared.overlay);
        for (const CornerTable& table : prepared.overlay.corners) EXPECT_TRUE(table.empty());
        EXPECT_EQ(prepared.overlay.entryCount(), 0);
    }
}

TEST(NoLife, ALifeTooLongForMemoryIsAFatalStop) {
    testing_support::LogCapture log;
    Overlay overlay;
    overlay.duration = std::numeric_limits<int32_t>::max();
    EXPECT_EXIT(overlay.allocateCornerTables(), testing::ExitedWithCode(255), "not enough memory");
    EXPECT_THAT(log.text(), testing::HasSubstr("corner tables of 103079215056 bytes refused\n"));
}
