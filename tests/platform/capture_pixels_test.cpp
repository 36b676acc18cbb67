#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "base/display_state.h"
#include "base/process_state.h"
#include "platform/ddraw/pixel_formats.h"
#include "render/renderer.h"
#include "scene/scene.h"
#include "tests/support/capture_display.h"
#include "tests/support/scene_vertex.h"
#include "tests/support/test_support.h"

using testing_support::CaptureDisplay;
using testing_support::LogCapture;
using testing_support::near;
using testing_support::pixelAt;
using testing_support::quantised;
using testing_support::Rgb;
using testing_support::Vertex;

namespace {

Vertex at(float x, float y, float z, float tu = 0, float tv = 0) { return {x, y, z, 0, 0, 1, tu, tv}; }

D3DTLVERTEX screen(float x, float y, float z, D3DCOLOR colour, float tu = 0, float tv = 0) {
    return D3DTLVERTEX{x, y, z, 1.0f, colour, 0, tu, tv};
}

// Colours read back; plain white is already the overlays' ARGB corner colour.
const Rgb whitePixel{255, 255, 255}, blackPixel{0, 0, 0};

std::string describe(Rgb colour) {
    return "(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " + std::to_string(colour.blue) +
           ")";
}

class CapturedPixels : public testing::Test {
protected:
    void SetUp() override {
        if (!CaptureDisplay::available()) GTEST_SKIP() << "no off-screen OpenGL context on this machine";
        display.emplace();
    }

    // The device state a loaded scene leaves: white ambient, fog, projection 1.57.
    void applyScene(int32_t fogMode = 0, float fogStart = 0, float fogEnd = 0, float fogDensity = 0) {
        scene.fogMode = fogMode;
        scene.fogStart = fogStart;
        scene.fogEnd = fogEnd;
        scene.fogDensity = fogDensity;
        Renderer::applySceneRenderStates(scene);
    }

    IDirectDrawSurface7* texture(const DDPIXELFORMAT& format, const std::vector<uint32_t>& texels, DWORD width) {
        IDirectDrawSurface7* surface = Renderer::createTextureSurface(format, DWORD(texels.size()) / width, width);
        DDSURFACEDESC2 description{};
        description.dwSize = sizeof description;
        surface->Lock(nullptr, &description, DDLOCK_WRITEONLY, nullptr);
        size_t bytes = format.dwRGBBitCount / 8;
        for (size_t index = 0; index < texels.size(); ++index) {
            auto* row = static_cast<uint8_t*>(description.lpSurface) + (index / width) * description.lPitch;
            std::memcpy(row + (index % width) * bytes, &texels[index], bytes);
        }
        surface->Unlock(nullptr);
        return surface;
    }

    void expectPixels(const platform::CapturedFrame& frame, std::initializer_list<std::pair<POINT, Rgb>> probes) {
        for (const auto& [point, colour] : probes) {
            Rgb actual = pixelAt(frame, point.x, point.y);
            EXPECT_TRUE(near(actual, colour, quantised))
                << "at " << point.x << ", " << point.y << ": " << describe(actual) << " not " << describe(colour);
        }
    }

    LogCapture log;
    std::optional<CaptureDisplay> display;
    Scene scene{nullptr, nullptr};
};

}  // namespace

// (0, 0, 10), (0, -5, 10), (5, 0, 10) project to (320, 240), (320, 360) and
// (480, 240): counter-clockwise on screen, kept by D3DCULL_CW, lit full white.
TEST_F(CapturedPixels, CameraSpaceTriangleLandsWhereTheProjectionPutsItAndKeepsItsWinding) {
    applyScene();
    Vertex kept[3] = {at(0, 0, 10), at(0, -5, 10), at(5, 0, 10)};
    Vertex culled[3] = {kept[0], kept[2], kept[1]};
    auto draw = [](Vertex* vertices) {
        return [vertices](IDirect3DDevice7& device) {
            device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, vertices, 3, 0);
        };
    };
    expectPixels(display->frame(draw(kept)), {{{324, 244}, whitePixel},
                                              {{470, 244}, whitePixel},
                                              {{324, 350}, whitePixel},
                                              {{400, 295}, whitePixel},
                                              {{315, 250}, blackPixel},
                                              {{330, 235}, blackPixel},
                                              {{420, 300}, blackPixel}});
    expectPixels(display->frame(draw(culled)), {{{400, 280}, blackPixel}, {{330, 250}, blackPixel}});
}

TEST_F(CapturedPixels, TableFogAtAKnownEyeDepth) {
    struct Case {
        int32_t mode;
        float start, end, density;
        Rgb expected;  // f x white + (1 - f) x (0x00, 0x30, 0x39)
    };
    const Case cases[] = {
        {D3DFOG_LINEAR, 100, 900, 0, {128, 152, 156}},  // f = (900 - 500) / 800 = 0.5
        {D3DFOG_EXP, 0, 0, 0.002f, {94, 124, 130}},     // f = exp(-1)
        {D3DFOG_EXP2, 0, 0, 0.001f, {199, 209, 211}},   // f = exp(-0.25)
        {0, 100, 900, 0, {255, 255, 255}},              // no fog
    };
    Vertex square[4] = {at(-600, 600, 500), at(600, 600, 500), at(600, -600, 500), at(-600, -600, 500)};
    for (const Case& c : cases) {
        device->SetRenderState(D3DRENDERSTATE_FOGENABLE, FALSE);  // a fogless scene leaves fog as it was
        applyScene(c.mode, c.start, c.end, c.density);
        const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
            device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
            device.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_VERTEX, square, 4, 0);
        });
        SCOPED_TRACE("fog mode " + std::to_string(c.mode));
        expectPixels(frame, {{{320, 240}, c.expected}, {{20, 460}, c.expected}});
    }
}

// Overlays draw like this: an indexed pre-transformed quad, ONE / ONE.
TEST_F(CapturedPixels, AdditiveQuadAddsToWhatIsThere) {
    D3DTLVERTEX quad[4] = {screen(100, 100, 0, 0x00303030), screen(100, 300, 0, 0x00303030),
                           screen(300, 300, 0, 0x00303030), screen(300, 100, 0, 0x00303030)};
    WORD indices[6] = {0, 1, 2, 0, 2, 3};
    const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
        D3DRECT whole{0, 0, 640, 480};
        device.Clear(1, &whole, D3DCLEAR_TARGET, 0x00404040, 1.0f, 0);
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 4, indices, 6, 0);
    });
    expectPixels(frame, {{{200, 200}, {112, 112, 112}}, {{101, 101}, {112, 112, 112}}, {{400, 200}, {64, 64, 64}}});
}

// The transparent pass: the texture's own alpha, SRCALPHA / INVSRCALPHA.
TEST_F(CapturedPixels, AlphaBlendedFaceBlendsByTheTextureAlpha) {
    applyScene();
    IDirectDrawSurface7* halfWhite = texture(alphaTextureFormat, {0x8FFF}, 1);  // ARGB4444, alpha 8 / 15
    Vertex face[3] = {at(-2, 2, 10), at(2, 2, 10), at(0, -2, 10)};
    const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
        D3DRECT whole{0, 0, 640, 480};
        device.Clear(1, &whole, D3DCLEAR_TARGET, 0x000000FF, 1.0f, 0);
        device.SetTexture(0, halfWhite);
        device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, face, 3, 0);
    });
    // 0.533 x white + 0.467 x blue
    expectPixels(frame, {{{320, 240}, {136, 136, 255}}, {{20, 20}, {0, 0, 255}}});
    halfWhite->Release();
}

TEST_F(CapturedPixels, DepthTestHidesTheFartherFaceWhateverTheOrder) {
    auto face = [](float depth, D3DCOLOR colour) {
        return std::vector<D3DTLVERTEX>{screen(100, 100, depth, colour), screen(400, 100, depth, colour),
                                        screen(100, 400, depth, colour)};
    };
    std::vector<D3DTLVERTEX> nearRed = face(0.2f, 0xFFFF0000), farGreen = face(0.6f, 0xFF00FF00);
    for (bool nearFirst : {true, false}) {
        const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
            device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
            for (auto* vertices : nearFirst ? std::vector{&nearRed, &farGreen} : std::vector{&farGreen, &nearRed})
                device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, vertices->data(), 3, 0);
        });
        SCOPED_TRACE(nearFirst ? "near face first" : "far face first");
        expectPixels(frame, {{{150, 150}, {255, 0, 0}}});
    }
}

// What the engine wrote through Lock is what gets sampled, in each format.
TEST_F(CapturedPixels, TexturesAreSampledInTheFormatTheyWereCreatedIn) {
    struct Case {
        const char* name;
        DDPIXELFORMAT format;
        uint32_t texel;
        Rgb expected;
    };
    const Case cases[] = {
        {"RGB565", platform::rgb565Format(), 0xF800, {255, 0, 0}},
        {"RGB555 ignores its top bit", platform::rgb555Format(), 0x83E0, {0, 255, 0}},
        {"ARGB4444", platform::argb4444Format(), 0xF00F, {0, 0, 255}},
        {"ARGB8888", platform::argb8888Format(), 0xFF808080, {128, 128, 128}},
    };
    D3DTLVERTEX quad[4] = {screen(0, 0, 0, 0xFFFFFFFF, 0, 0), screen(0, 480, 0, 0xFFFFFFFF, 0, 1),
                           screen(640, 480, 0, 0xFFFFFFFF, 1, 1), screen(640, 0, 0, 0xFFFFFFFF, 1, 0)};
    for (const Case& c : cases) {
        IDirectDrawSurface7* surface = texture(c.format, {c.texel}, 1);
        const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
            device.SetTexture(0, surface);
            device.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
        });
        SCOPED_TRACE(c.name);
        expectPixels(frame, {{{320, 240}, c.expected}, {{5, 5}, c.expected}});
        surface->Release();
    }
}

// A texture is on the GPU once its writer unlocks it, as a scene loads, not
// at its first draw in a frame: memory changed afterwards under a read-only
// lock, which tells the device nothing changed, is not what is drawn.
TEST_F(CapturedPixels, TexturesGoToTheGpuWhenUnlockedNotWhenFirstDrawn) {
    IDirectDrawSurface7* surface = texture(platform::rgb565Format(), {0xF800}, 1);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    ASSERT_EQ(surface->Lock(nullptr, &description, DDLOCK_READONLY, nullptr), DD_OK);
    const uint16_t blue = 0x001F;
    std::memcpy(description.lpSurface, &blue, sizeof blue);
    surface->Unlock(nullptr);
    D3DTLVERTEX quad[4] = {screen(0, 0, 0, 0xFFFFFFFF, 0, 0), screen(0, 480, 0, 0xFFFFFFFF, 0, 1),
                           screen(640, 480, 0, 0xFFFFFFFF, 1, 1), screen(640, 0, 0, 0xFFFFFFFF, 1, 0)};
    const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
        device.SetTexture(0, surface);
        device.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
    });
    expectPixels(frame, {{{320, 240}, {255, 0, 0}}});
    surface->Release();
}

// Red texels blended by their own alpha over white: a format without alpha
// bits (or with an unused top bit) is opaque, the others give theirs.
TEST_F(CapturedPixels, TextureAlphaComesFromTheFormatsAlphaBitsAlone) {
    struct Case {
        const char* name;
        DDPIXELFORMAT format;
        uint32_t texel;
        Rgb expected;
    };
    const Rgb red{255, 0, 0};
    const Case cases[] = {
        {"RGB565 is opaque", platform::rgb565Format(), 0xF800, red},
        {"RGB555 with its top bit clear is opaque", platform::rgb555Format(), 0x7C00, red},
        {"ARGB1555 alpha 0", platform::argb1555Format(), 0x7C00, whitePixel},
        {"ARGB1555 alpha 1", platform::argb1555Format(), 0xFC00, red},
        {"ARGB4444 alpha 0", platform::argb4444Format(), 0x0F00, whitePixel},
        {"ARGB4444 alpha 15", platform::argb4444Format(), 0xFF00, red},
        {"ARGB8888 alpha 0", platform::argb8888Format(), 0x00FF0000, whitePixel},
        {"XRGB8888 with its top byte 0 is opaque", platform::xrgb8888Format(), 0x00FF0000, red},
    };
    D3DTLVERTEX quad[4] = {screen(0, 0, 0, 0xFFFFFFFF, 0, 0), screen(0, 480, 0, 0xFFFFFFFF, 0, 1),
                           screen(640, 480, 0, 0xFFFFFFFF, 1, 1), screen(640, 0, 0, 0xFFFFFFFF, 1, 0)};
    for (const Case& c : cases) {
        IDirectDrawSurface7* surface = texture(c.format, {c.texel}, 1);
        const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
            D3DRECT whole{0, 0, 640, 480};
            device.Clear(1, &whole, D3DCLEAR_TARGET, 0x00FFFFFF, 1.0f, 0);
            device.SetTexture(0, surface);
            device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
            device.SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
            device.SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
            device.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
        });
        SCOPED_TRACE(c.name);
        expectPixels(frame, {{{320, 240}, c.expected}});
        surface->Release();
    }
}

// Two texels stretched over the screen: linear magnification blends them.
TEST_F(CapturedPixels, MagnificationIsLinear) {
    IDirectDrawSurface7* blackWhite = texture(platform::rgb565Format(), {0x0000, 0xFFFF}, 2);
    D3DTLVERTEX quad[4] = {screen(0, 0, 0, 0xFFFFFFFF, 0, 0), screen(0, 480, 0, 0xFFFFFFFF, 0, 1),
                           screen(640, 480, 0, 0xFFFFFFFF, 1, 1), screen(640, 0, 0, 0xFFFFFFFF, 1, 0)};
    const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
        device.SetTexture(0, blackWhite);
        device.DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, quad, 4, 0);
    });
    Rgb middle = pixelAt(frame, 320, 240);
    EXPECT_TRUE(near(middle, {128, 128, 128}, 12)) << describe(middle);
    blackWhite->Release();
}

TEST_F(CapturedPixels, ClearsStayInTheirRectangle) {
    const platform::CapturedFrame& frame = display->frame([](IDirect3DDevice7& device) {
        D3DRECT rect{10, 20, 30, 40};
        device.Clear(1, &rect, D3DCLEAR_TARGET, 0x00FFFFFF, 1.0f, 0);
    });
    expectPixels(frame, {{{10, 20}, whitePixel},
                         {{29, 39}, whitePixel},
                         {{9, 25}, blackPixel},
                         {{30, 25}, blackPixel},
                         {{15, 40}, blackPixel}});
}

// An 8-bit channel keeps its top 5 bits (6 for green), widened again by
// repeating them: 0x0F comes back as 8, 12, 8 and 0xF0 as 247, 243, 247.
TEST_F(CapturedPixels, PureColoursComeBackQuantisedToRgb565) {
    D3DTLVERTEX triangle[3] = {screen(0, 0, 0, 0xFF0F0F0F), screen(640, 0, 0, 0xFF0F0F0F),
                               screen(0, 480, 0, 0xFF0F0F0F)};
    const platform::CapturedFrame& frame = display->frame([&](IDirect3DDevice7& device) {
        D3DRECT rect{600, 400, 640, 480};
        device.Clear(1, &rect, D3DCLEAR_TARGET, 0x00F0F0F0, 1.0f, 0);
        device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, triangle, 3, 0);
    });
    Rgb drawn = pixelAt(frame, 100, 100), cleared = pixelAt(frame, 620, 440);
    EXPECT_TRUE(near(drawn, {8, 12, 8}, 0)) << describe(drawn);
    EXPECT_TRUE(near(cleared, {247, 243, 247}, 0)) << describe(cleared);
    EXPECT_EQ(frame.index + 1, uint32_t(display->renderer.framesPresented));
}

// The renderer draws into the flip chain's back buffer alone: a device asked to
// draw anywhere else is refused, as Direct3D refuses a surface it cannot render to.
TEST_F(CapturedPixels, OnlyTheBackBufferIsARenderTarget) {
    IDirect3D7* direct3D = nullptr;
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D)), DD_OK);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = 640;
    description.dwHeight = 480;
    description.ddpfPixelFormat = platform::rgb565Format();
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    IDirectDrawSurface7* offScreen = nullptr;
    ASSERT_EQ(directDraw->CreateSurface(&description, &offScreen, nullptr), DD_OK);
    auto* sentinel = reinterpret_cast<IDirect3DDevice7*>(0xdeadbeef);
    IDirect3DDevice7* other = sentinel;
    EXPECT_EQ(direct3D->CreateDevice(IID_IDirect3DHALDevice, offScreen, &other), DDERR_INVALIDCAPS);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(device->SetRenderTarget(offScreen, 0), DDERR_INVALIDCAPS);
    EXPECT_EQ(device->SetRenderTarget(display->renderer.backBuffer, 0), D3D_OK);
    const platform::CapturedFrame& frame = display->frame([](IDirect3DDevice7& target) {
        D3DTLVERTEX quad[] = {screen(0, 0, 0.5f, 0xFFFFFFFF), screen(640, 0, 0.5f, 0xFFFFFFFF),
                              screen(0, 480, 0.5f, 0xFFFFFFFF), screen(640, 480, 0.5f, 0xFFFFFFFF)};
        target.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        target.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);
    });
    EXPECT_TRUE(near(pixelAt(frame, 320, 240), whitePixel, quantised)) << "the device still draws into the back buffer";
    offScreen->Release();
    direct3D->Release();
}

// Read back while the next frame is drawn, each kept frame comes one flip
// later, the last when the display is released; the frames refused are not
// drawn, and every frame is asked about once, in order, and told at its flip.
TEST(CapturedFrames, KeptFramesComeOneFlipLaterAndRefusedOnesAreNotDrawn) {
    if (!CaptureDisplay::available()) GTEST_SKIP() << "no off-screen OpenGL context on this machine";
    std::vector<uint32_t> asked, flipped, receivedAtFlip;
    std::vector<platform::CapturedFrame> received;
    {
        CaptureDisplay display;
        platform::setFrameCapture({.frames = [&](const platform::CapturedFrame& frame) { received.push_back(frame); },
                                   .wanted =
                                       [&](uint32_t index) {
                                           asked.push_back(index);
                                           return index % 2 == 0;
                                       },
                                   .flipped = [&](uint32_t index) { flipped.push_back(index); },
                                   .overlapped = true});
        for (DWORD k = 0; k < 5; ++k) {
            display.renderer.clear();
            display.renderer.beginScene();
            const DWORD grey = 0x30 * (k + 1);
            device->Clear(0, nullptr, D3DCLEAR_TARGET, grey << 16 | grey << 8 | grey, 1.0f, 0);
            display.renderer.endScene();
            display.renderer.flip();
            receivedAtFlip.push_back(static_cast<uint32_t>(received.size()));
        }
    }
    EXPECT_EQ(asked, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(flipped, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(receivedAtFlip, (std::vector<uint32_t>{0, 0, 1, 1, 2}));
    ASSERT_EQ(received.size(), 3u);
    for (size_t k = 0; k < received.size(); ++k) {
        const int grey = 0x30 * (2 * static_cast<int>(k) + 1);
        EXPECT_EQ(received[k].index, 2 * k);
        EXPECT_TRUE(near(pixelAt(received[k], 320, 240), {grey, grey, grey}, quantised)) << k;
    }
}
