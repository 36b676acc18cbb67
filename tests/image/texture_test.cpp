// Texture surfaces on the null driver, whose surfaces keep what is written at
// a real pitch and which records every call.

#include "image/texture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "image/texture_surface.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/test_seams.h"
#include "render/renderer.h"
#include "tests/image/image_test_support.h"
#include "tests/support/null_display.h"
#include "tools/image_writers/image_writers.h"

using image_testing::RawImage;
using testing::ExitedWithCode;
using testing_support::LogCapture;

namespace {

// White, red, a green whose top six bits are 000010, grey 8, 0x80FF8000 and an
// alpha below 16: the edge values of every conversion.
const std::vector<uint32_t> pixels = {0x00FFFFFF, 0x00FF0000, 0x00000800, 0x00080808, 0x80FF8000, 0x0FFFFFFF};

// The surface's bytes, rows at its pitch; with fillWith, every byte is set to
// it first.
std::vector<uint8_t> lockedBytes(IDirectDrawSurface7* surface, int fillWith = -1) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    EXPECT_EQ(surface->Lock(nullptr, &description, 0, nullptr), DD_OK);
    auto* bytes = static_cast<uint8_t*>(description.lpSurface);
    if (fillWith >= 0) std::memset(bytes, fillWith, description.lPitch * description.dwHeight);
    std::vector<uint8_t> all(bytes, bytes + description.lPitch * description.dwHeight);
    surface->Unlock(nullptr);
    return all;
}

// A DirectDraw object on the null driver whose surface rows are 64 bytes apart
// and which also takes 32-bit textures without alpha.
class NullTextures : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DirectDrawCreateEx(const_cast<GUID*>(&platform::nullDriverGuid()),
                                     reinterpret_cast<void**>(&directDraw), IID_IDirectDraw7, nullptr),
                  DD_OK);
        textureFormat = platform::rgb565Format();
        alphaTextureFormat = platform::argb4444Format();
    }

    static platform::NullDriverSettings settings() {
        platform::NullDriverSettings wide = platform::defaultNullDriverSettings();
        wide.pitchAlignment = 64;
        wide.textureFormats.push_back(platform::xrgb8888Format());
        return wide;
    }

    testing_support::NullDriverScope driver{settings()};
    LogCapture log;
};

}  // namespace

TEST_F(NullTextures, CopyPixelsConvertsByGreenMaskAtThePitchLeavingTheRestUntouched) {
    const std::string alphaLine = "copy into an alpha surface\n";
    const std::tuple<DDPIXELFORMAT, std::vector<uint32_t>, std::string> cases[] = {
        {platform::rgb565Format(), {0xFFFF, 0xF800, 0x0040, 0x0841, 0xFC00, 0xFFFF}, ""},
        {platform::rgb555Format(), {0x7FFF, 0x7C00, 0x0020, 0x0421, 0x7E00, 0x7FFF}, ""},
        {platform::argb4444Format(), {0x0FFF, 0x0F00, 0x0000, 0x0000, 0x8F80, 0x0FFF}, alphaLine},
        {platform::argb8888Format(), pixels, alphaLine},
        {platform::xrgb8888Format(), pixels, ""},
        {platform::argb1555Format(), {}, alphaLine},  // no conversion: the surface stays as it was
    };
    for (const auto& [format, expected, logLines] : cases) {
        IDirectDrawSurface7* surface = Renderer::createTextureSurface(format, 2, 3);
        lockedBytes(surface, 0xEE);
        const std::string before = log.textAfterStartLine();
        copyPixels(RawImage(3, 2, pixels), surface);
        EXPECT_EQ(testing_support::callsNamed("Lock").back().arguments, std::vector<uint64_t>{DDLOCK_WRITEONLY});
        std::vector<uint8_t> rows(2 * 64, 0xEE);  // each row's three pixels, then bytes never written
        for (size_t i = 0; i < expected.size(); ++i)
            std::memcpy(&rows[i / 3 * 64 + i % 3 * format.dwRGBBitCount / 8], &expected[i], format.dwRGBBitCount / 8);
        EXPECT_EQ(lockedBytes(surface), rows) << format.dwGBitMask;
        EXPECT_EQ(log.textAfterStartLine(), before + "locking surface  success\n" + logLines);
        surface->Release();
    }
}

TEST_F(NullTextures, CreateTextureChoosesTheFormatByAlphaAndEmptiesTheLoader) {
    for (const auto& [alpha, format] : {std::pair{0x00u, textureFormat}, {0x01u, alphaTextureFormat}}) {
        RawImage image(3, 2, {0x123456, 0x654321, 0, 0, 0, alpha << 24});
        image.depth = 32;
        IDirectDrawSurface7* surface = createTexture(image);
        DDSURFACEDESC2 description{};
        description.dwSize = sizeof description;
        ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
        EXPECT_EQ(std::memcmp(&description.ddpfPixelFormat, &format, sizeof format), 0) << "alpha " << alpha;
        EXPECT_EQ(description.dwWidth * 10 + description.dwHeight, 32u);
        EXPECT_TRUE(image.pixels == nullptr && image.width == 0 && image.height == 0 && image.depth == 0);
        surface->Release();
        logFlush();
        EXPECT_EXIT(createTexture(image), ExitedWithCode(255), "error!: create surface\n");  // now 0 x 0
    }
}

TEST_F(NullTextures, SurfaceOfAnotherSizeStopsTheProgram) {
    IDirectDrawSurface7* surface = Renderer::createTextureSurface(textureFormat, 2, 2);
    logFlush();
    EXPECT_EXIT(copyPixels(RawImage(3, 2, pixels), surface), ExitedWithCode(255),
                "^error!: \\(Ddraw\\) Source and destination does not have same size\n$");
    EXPECT_THAT(log.textAfterStartLine(),
                testing::EndsWith("locking surface  success\nError while copying texture from \t\t\tSystem Memory to "
                                  "DirectDraw Surface : source and destination does \t\t\tnot have the same size"));
}

TEST_F(NullTextures, LoadStampsEachMaterialsOpacityIntoTgaAndJpegButNeverZkv) {
    testing_support::DebugOutputCapture debug;
    image_testing::ImageFiles files;
    const std::string tga = files.write("Wall.TGA", image_testing::tga(2, 1, 24, image_writers::Bytes(6, 0x80)));
    files.write("stone.jpg", image_writers::jpeg(2, 1, image_writers::Bytes(6, 0x80), 3, 100));
    const image_writers::Image glass{2, 1, {0x11808080, 0x22808080}};
    files.write("Glass.ZKV", image_writers::gzip(image_writers::zkvBody(glass, 32, true), 6));
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(tga).parent_path());
    const std::tuple<std::string, float, uint16_t, std::string> cases[] = {
        {tga, 0.5f, 0x8888, "reading TGA file \n"},  // ARGB4444 with alpha 8
        {tga, 1.0f, 0x8410, "reading TGA file \n"},  // opaque: RGB565
        {"datas\\Stone.JPG", 0.5f, 0x8888, "reading a jpg file \nstone.jpg"},
        {"Glass.ZKV", 0.5f, 0x1888, "reading Zkv file \nglass.zkv"},
    };
    for (const auto& [name, opacity, texel, debugLines] : cases) {
        const size_t debugBefore = debug.text().size(), logBefore = log.textAfterStartLine().size();
        Texture texture(name);
        testing::internal::CaptureStdout();
        texture.load(opacity);
        testing::internal::GetCapturedStdout();
        const std::vector<uint8_t> bytes = lockedBytes(texture.surface);
        EXPECT_EQ(bytes[0] | bytes[1] << 8, texel) << name << " at " << opacity;
        EXPECT_EQ(debug.text().substr(debugBefore), debugLines + "create surface success\nlocking surface  success\n");
        EXPECT_THAT(log.textAfterStartLine().substr(logBefore), testing::StartsWith("trying to load : " + name + "\n"));
    }
    std::filesystem::current_path(here);
}

TEST_F(NullTextures, UnrecognisedOrUnreadableFilesStopTheProgram) {
    logFlush();
    EXPECT_EXIT(Texture("photo.jpeg").load(1.0f), ExitedWithCode(255), "^error!: Bad File format\n$");
    EXPECT_EQ(log.textAfterStartLine(), "trying to load : photo.jpeg\nphoto.jpeg has an unrecognized file format\n");
    EXPECT_EXIT(Texture("absent.tga").load(1.0f), ExitedWithCode(255), "error!: create surface\n");
}

TEST_F(NullTextures, TextureReleasesItsSurfaceEvenAfterTheDirectDrawObject) {
    image_testing::ImageFiles files;
    auto texture = std::make_unique<Texture>(files.write("wall.tga", image_testing::tga(1, 1, 24, {1, 2, 3})));
    texture->load(1.0f);
    IDirectDrawSurface7* surface = texture->surface;
    directDraw->Release();
    directDraw = nullptr;
    texture.reset();
    EXPECT_EQ(surface->AddRef(), 0u);  // gone: a released object takes no new reference
}
