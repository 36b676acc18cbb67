#include "platform/gl/gl_draw_kinds.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/ddraw/pixel_formats.h"

using platform::DeviceState;
using platform::DrawKinds;
using platform::SurfaceStore;
using platform::TextureSamples;

namespace {

constexpr DWORD modelFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// What a device holds once a scene is loaded: a z-buffer attached and on,
// dithering, culling, white ambient, a texture magnified bilinearly.
DeviceState loaded() {
    DeviceState state;
    state.depthBuffer = std::make_shared<SurfaceStore>();
    state.textures[0] = std::make_shared<SurfaceStore>();
    state.renderStates[D3DRENDERSTATE_ZENABLE] = D3DZB_TRUE;
    state.renderStates[D3DRENDERSTATE_DITHERENABLE] = TRUE;
    state.renderStates[D3DRENDERSTATE_CULLMODE] = D3DCULL_CW;
    state.renderStates[D3DRENDERSTATE_AMBIENT] = 0xFFFFFFFF;
    state.stageStates[0][D3DTSS_MAGFILTER] = D3DTFG_LINEAR;
    return state;
}

DeviceState blended(DWORD source, DWORD destination) {
    DeviceState state = loaded();
    state.renderStates[D3DRENDERSTATE_ALPHABLENDENABLE] = TRUE;
    state.renderStates[D3DRENDERSTATE_SRCBLEND] = source;
    state.renderStates[D3DRENDERSTATE_DESTBLEND] = destination;
    state.renderStates[D3DRENDERSTATE_CULLMODE] = D3DCULL_NONE;
    return state;
}

std::shared_ptr<SurfaceStore> textureOf(const DDPIXELFORMAT& format, DWORD width, DWORD height) {
    auto store = std::make_shared<SurfaceStore>();
    store->description.ddpfPixelFormat = format;
    store->description.dwWidth = width;
    store->description.dwHeight = height;
    return store;
}

}  // namespace

// A scene's first frame and a title's must find their kinds prepared while
// the show loaded.
TEST(DrawKinds, ModelsTheirTransparentFacesAndAddedTitlesAreKnownBeforeAnyDraw) {
    struct Case {
        const char* name;
        DeviceState state;
        DWORD vertexFormat;
    };
    const Case cases[] = {
        {"opaque model", loaded(), modelFormat},
        {"transparent faces", blended(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA), modelFormat},
        {"title added over the scene", blended(D3DBLEND_ONE, D3DBLEND_ONE), D3DFVF_TLVERTEX},
    };
    for (const Case& c : cases) {
        DrawKinds kinds;
        EXPECT_FALSE(kinds.learn(c.state, c.vertexFormat)) << c.name;
    }
}

TEST(DrawKinds, OnlyStatesThatChangeTheGeneratedCodeMakeANewKind) {
    struct Case {
        const char* name;
        std::function<void(DeviceState&, DWORD&)> change;
        bool newKind;
    };
    const Case cases[] = {
        {"another fog start", [](DeviceState& s, DWORD&) { s.renderStates[D3DRENDERSTATE_FOGSTART] = 0x42C80000; },
         false},
        {"another world matrix", [](DeviceState& s, DWORD&) { s.world._41 = 5; }, false},
        {"another texture", [](DeviceState& s, DWORD&) { s.textures[0] = std::make_shared<SurfaceStore>(); }, false},
        {"another cull mode", [](DeviceState& s, DWORD&) { s.renderStates[D3DRENDERSTATE_CULLMODE] = D3DCULL_NONE; },
         false},
        {"no texture", [](DeviceState& s, DWORD&) { s.textures[0] = nullptr; }, true},
        {"an alpha test",
         [](DeviceState& s, DWORD&) {
             s.renderStates[D3DRENDERSTATE_ALPHATESTENABLE] = TRUE;
             s.renderStates[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_GREATER;
         },
         true},
        {"an alpha function with no test",
         [](DeviceState& s, DWORD&) { s.renderStates[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_GREATER; }, false},
        {"the z-buffer off", [](DeviceState& s, DWORD&) { s.renderStates[D3DRENDERSTATE_ZENABLE] = D3DZB_FALSE; },
         true},
        {"point magnification", [](DeviceState& s, DWORD&) { s.stageStates[0][D3DTSS_MAGFILTER] = D3DTFG_POINT; },
         true},
        {"clamped addressing", [](DeviceState& s, DWORD&) { s.stageStates[0][D3DTSS_ADDRESSU] = D3DTADDRESS_CLAMP; },
         true},
        {"coloured vertices", [](DeviceState&, DWORD& f) { f = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1; }, true},
    };
    for (const Case& c : cases) {
        DrawKinds kinds;
        DeviceState state = loaded();
        DWORD vertexFormat = modelFormat;
        c.change(state, vertexFormat);
        EXPECT_EQ(kinds.learn(state, vertexFormat), c.newKind) << c.name;
        EXPECT_FALSE(kinds.learn(state, vertexFormat)) << c.name << ", the second time";
    }
}

TEST(DrawKinds, AFogMakesEveryKnownKindAgainUnderItOnce) {
    DrawKinds kinds;
    const size_t known = kinds.all().size();
    DeviceState fogged = loaded();
    fogged.renderStates[D3DRENDERSTATE_FOGENABLE] = TRUE;
    fogged.renderStates[D3DRENDERSTATE_FOGTABLEMODE] = D3DFOG_LINEAR;
    const std::vector<platform::DrawKind> learnt = kinds.learnFog(fogged);
    EXPECT_EQ(learnt.size(), known);
    for (const platform::DrawKind& kind : learnt) {
        EXPECT_EQ(kind.state.renderStates[D3DRENDERSTATE_FOGENABLE], DWORD{TRUE});
        EXPECT_EQ(kind.state.renderStates[D3DRENDERSTATE_FOGTABLEMODE], DWORD{D3DFOG_LINEAR});
    }
    EXPECT_TRUE(kinds.learnFog(fogged).empty());
    EXPECT_EQ(kinds.all().size(), 2 * known);
}

// The sampling code depends on the texel format and on whether the sides are
// powers of two, not on the size.
TEST(TextureSamples, OneTextureStandsForEachFormatAndShape) {
    struct Case {
        const char* name;
        std::shared_ptr<SurfaceStore> texture;
        bool first;
    };
    const Case cases[] = {
        {"RGB565 256 x 256", textureOf(platform::rgb565Format(), 256, 256), true},
        {"RGB565 128 x 64", textureOf(platform::rgb565Format(), 128, 64), false},
        {"RGB565 512 x 384", textureOf(platform::rgb565Format(), 512, 384), true},
        {"ARGB4444 256 x 256", textureOf(platform::argb4444Format(), 256, 256), true},
        {"ARGB1555 256 x 256", textureOf(platform::argb1555Format(), 256, 256), true},
        {"ARGB4444 32 x 32", textureOf(platform::argb4444Format(), 32, 32), false},
    };
    TextureSamples samples;
    for (const Case& c : cases) EXPECT_EQ(samples.learn(c.texture), c.first) << c.name;
    EXPECT_EQ(samples.alive().size(), 4u);
}

TEST(TextureSamples, AReleasedTextureStandsForItsKindNoMore) {
    TextureSamples samples;
    auto first = textureOf(platform::rgb565Format(), 256, 256);
    ASSERT_TRUE(samples.learn(first));
    first.reset();
    EXPECT_TRUE(samples.alive().empty());
    EXPECT_TRUE(samples.learn(textureOf(platform::rgb565Format(), 64, 64)));
}
