// An overlay on the null driver: its image, its log line, and the device calls
// of a draw.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "overlay/overlay.h"
#include "overlay/overlay_effects.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"
#include "tools/image_writers/image_writers.h"

using testing::ElementsAre;
using testing_support::bits;
using testing_support::callTexts;
using testing_support::LogCapture;
using testing_support::NullDriverScope;
using testing_support::ScratchDirectory;

namespace {

// A grey 8 x 4 JPEG title image.
std::string writeTitle(const ScratchDirectory& directory) {
    const auto path = directory / "title.jpg";
    image_writers::writeFile(path, image_writers::jpeg(8, 4, image_writers::Bytes(8 * 4 * 3, 0x80), 3, 90));
    return path.string();
}

class OverlayOnDevice : public testing::Test {
protected:
    explicit OverlayOnDevice(platform::NullDriverSettings settings = platform::defaultNullDriverSettings())
        : driver(std::move(settings)) {
        renderer.setUp();
        logLengthBeforeImage = log.text().size();
        overlay.loadImage(writeTitle(directory).c_str());
        platform::clearNullDriverCalls();
    }

    std::string imageLog() const { return log.text().substr(logLengthBeforeImage); }

    LogCapture log;
    ScratchDirectory directory;
    NullDriverScope driver;
    Renderer renderer;
    Overlay overlay;
    size_t logLengthBeforeImage = 0;
};

platform::NullDriverSettings rgb555First() {
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.textureFormats = {platform::argb4444Format(), platform::rgb555Format(), platform::rgb565Format()};
    return settings;
}

class OverlayOnRgb555Device : public OverlayOnDevice {
protected:
    OverlayOnRgb555Device() : OverlayOnDevice(rgb555First()) {}
};

}  // namespace

TEST(OverlayConstruction, DefaultsOfTheQuad) {
    const Overlay overlay;
    EXPECT_EQ(overlay.duration, 0);
    EXPECT_EQ(overlay.texture, nullptr);
    const float tu[4] = {0, 0, 1, 1};
    const float tv[4] = {0, 1, 1, 0};
    for (size_t k = 0; k < 4; ++k) {
        const D3DTLVERTEX& vertex = overlay.vertices[k];
        EXPECT_EQ(vertex.sz, 0.0f);
        EXPECT_EQ(vertex.rhw, 1.0f);
        EXPECT_EQ(vertex.color, 0xFFFFFFFFu);
        EXPECT_EQ(vertex.specular, 0u);
        EXPECT_EQ(vertex.tu, tu[k]);
        EXPECT_EQ(vertex.tv, tv[k]);
        EXPECT_TRUE(overlay.corners[k].empty());
    }
    EXPECT_THAT(overlay.indices, ElementsAre(0, 1, 2, 0, 2, 3));
}

TEST_F(OverlayOnDevice, LogsTheFirstPlainSixteenBitFormatAndMakesTheTexture) {
    EXPECT_EQ(imageLog(), "7e0 1f f800 0 10\ncreate surface success\nlocking surface  success\n");
    ASSERT_NE(overlay.texture, nullptr);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    overlay.texture->GetSurfaceDesc(&description);
    EXPECT_EQ(description.dwWidth, 8u);
    EXPECT_EQ(description.dwHeight, 4u);
}

TEST_F(OverlayOnRgb555Device, LogsTheFormatTheDeviceListsFirst) {
    EXPECT_THAT(imageLog(), testing::StartsWith("3e0 1f 7c00 0 10\ncreate surface"));
}

TEST_F(OverlayOnDevice, DrawnOnlyDuringItsLife) {
    overlay.startFrame = 50;
    overlay.duration = 350;
    overlay.allocateCornerTables();
    overlay.defaultPath();
    fadePanel(overlay);
    for (int32_t frame : {-1, 0, 49, 400, 401, 100000}) overlay.draw(frame);
    EXPECT_TRUE(platform::nullDriverCalls().empty());
    for (int32_t frame : {50, 51, 399}) overlay.draw(frame);
    EXPECT_EQ(testing_support::callsNamed("DrawIndexedPrimitive").size(), 3u);
}

TEST_F(OverlayOnDevice, DrawUsesTheEntryOfItsAgeAndLeavesBlendingOff) {
    overlay.startFrame = 50;
    overlay.duration = 350;
    overlay.allocateCornerTables();
    overlay.defaultPath();
    fadeSkewed(overlay);
    const auto texture = reinterpret_cast<uint64_t>(overlay.texture);
    const std::string vertexFormat = std::to_string(D3DFVF_TLVERTEX);
    for (int32_t frame : {50, 399}) {
        platform::clearNullDriverCalls();
        overlay.draw(frame);
        EXPECT_THAT(callTexts(),
                    ElementsAre("IDirect3DDevice7::SetTexture(0, " + std::to_string(texture) + ")",
                                "IDirect3DDevice7::SetRenderState(27, 1)", "IDirect3DDevice7::SetRenderState(19, 2)",
                                "IDirect3DDevice7::SetRenderState(20, 2)", "IDirect3DDevice7::SetRenderState(22, 1)",
                                "IDirect3DDevice7::DrawIndexedPrimitive(4, " + vertexFormat + ", 4, 6, 0)",
                                "IDirect3DDevice7::SetRenderState(27, 0)", "IDirect3DDevice7::SetRenderState(22, 2)"));
    }
    // Frame 399 is entry 349, the last: fading out to 25; skewed corners in pixels.
    const platform::RecordedCall draw = testing_support::callsNamed("DrawIndexedPrimitive").at(0);
    const auto* vertices = reinterpret_cast<const D3DTLVERTEX*>(draw.payload.data());
    const float sx[4] = {0, 128, 640, 640};
    const float sy[4] = {0, 480, 480, 96};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(bits(vertices[k].sx), bits(sx[k])) << k;
        EXPECT_FLOAT_EQ(vertices[k].sy, sy[k]) << k;
        EXPECT_EQ(vertices[k].color, 0x00191919u);
        EXPECT_EQ(vertices[k].specular, 0u);
    }
    const auto* indices = reinterpret_cast<const WORD*>(draw.payload.data() + 4 * sizeof(D3DTLVERTEX));
    EXPECT_THAT(std::vector<WORD>(indices, indices + 6), ElementsAre(0, 1, 2, 0, 2, 3));
}

TEST_F(OverlayOnDevice, NeverDrawnWithoutALife) {
    for (int32_t duration : {0, -20}) {
        overlay.startFrame = 0;
        overlay.duration = duration;
        overlay.allocateCornerTables();
        overlay.defaultPath();
        for (int32_t frame : {-21, -1, 0, 1}) overlay.draw(frame);
    }
    EXPECT_TRUE(platform::nullDriverCalls().empty());
}
