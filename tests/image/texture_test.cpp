// Texture surfaces on the null driver: its surfaces keep what is written, with
// a real pitch, and it records every call.

#include "image/texture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/log.h"
#include "app/process_state.h"
#include "image/texture_surface.h"
#include "platform/hooks.h"
#include "render/display_state.h"
#include "render/renderer.h"
#include "tests/image/image_test_support.h"
#include "tests/support/null_display.h"
#include "tools/image_writers/image_writers.h"

using image_testing::ImageFiles;
using image_testing::RawImage;
using testing::ExitedWithCode;
using testing_support::DebugOutputCapture;
using testing_support::LogCapture;

namespace {

// The six pixels every conversion is tried on: white, red, a green whose top
// six bits are 000010, grey 8, 0x80FF8000 and an alpha below 16.
const std::vector<uint32_t> pixels = {0x00FFFFFF, 0x00FF0000, 0x00000800, 0x00080808, 0x80FF8000, 0x0FFFFFFF};

// A DirectDraw object on the null driver whose surfaces have rows 64 bytes
// apart, and which also takes 32-bit textures without alpha.
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

    // Every byte of the surface, rows one after another at its pitch.
    static std::vector<uint8_t> contents(IDirectDrawSurface7* surface) {
        DDSURFACEDESC2 description{};
        description.dwSize = sizeof description;
        EXPECT_EQ(surface->Lock(nullptr, &description, 0, nullptr), DD_OK);
        auto* bytes = static_cast<uint8_t*>(description.lpSurface);
        std::vector<uint8_t> all(bytes, bytes + description.lPitch * description.dwHeight);
        surface->Unlock(nullptr);
        return all;
    }

    static void fill(IDirectDrawSurface7* surface, uint8_t value) {
        DDSURFACEDESC2 description{};
        description.dwSize = sizeof description;
        ASSERT_EQ(surface->Lock(nullptr, &description, 0, nullptr), DD_OK);
        std::memset(description.lpSurface, value, description.lPitch * description.dwHeight);
        surface->Unlock(nullptr);
    }

    testing_support::NullDriverScope driver{settings()};
    LogCapture log;
};

// Row r of 64 bytes: the row's three converted pixels, then the sentinel.
std::vector<uint8_t> rowsAtPitch64(const std::vector<uint32_t>& values, size_t bytesPerPixel) {
    std::vector<uint8_t> expected(2 * 64, 0xEE);
    for (size_t i = 0; i < values.size(); ++i)
        std::memcpy(&expected[i / 3 * 64 + i % 3 * bytesPerPixel], &values[i], bytesPerPixel);
    return expected;
}

}  // namespace

TEST_F(NullTextures, CopyPixelsConvertsByGreenMaskAtThePitchLeavingTheRestUntouched) {
    struct Case {
        const char* name;
        DDPIXELFORMAT format;
        std::vector<uint32_t> expected;  // empty: no conversion, the surface keeps its contents
        const char* log;
    };
    const char* alphaLine = "copy into an alpha surface\n";
    const Case cases[] = {
        {"RGB565", platform::rgb565Format(), {0xFFFF, 0xF800, 0x0040, 0x0841, 0xFC00, 0xFFFF}, ""},
        {"RGB555", platform::rgb555Format(), {0x7FFF, 0x7C00, 0x0020, 0x0421, 0x7E00, 0x7FFF}, ""},
        {"ARGB4444", platform::argb4444Format(), {0x0FFF, 0x0F00, 0x0000, 0x0000, 0x8F80, 0x0FFF}, alphaLine},
        {"ARGB8888", platform::argb8888Format(), pixels, alphaLine},
        {"XRGB8888", platform::xrgb8888Format(), pixels, ""},
        {"ARGB1555", platform::argb1555Format(), {}, alphaLine},
    };
    for (const Case& c : cases) {
        IDirectDrawSurface7* surface = Renderer::createTextureSurface(c.format, 2, 3);
        fill(surface, 0xEE);
        const std::string before = log.textAfterStartLine();
        copyPixels(RawImage(3, 2, pixels), surface);
        EXPECT_EQ(testing_support::callsNamed("Lock").back().arguments, std::vector<uint64_t>{DDLOCK_WRITEONLY});
        const size_t bytesPerPixel = c.format.dwRGBBitCount / 8;
        EXPECT_EQ(contents(surface),
                  c.expected.empty() ? std::vector<uint8_t>(128, 0xEE) : rowsAtPitch64(c.expected, bytesPerPixel))
            << c.name;
        EXPECT_EQ(log.textAfterStartLine(), before + "locking surface  success\n" + c.log) << c.name;
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
        EXPECT_EQ(description.ddsCaps.dwCaps2, DWORD{DDSCAPS2_TEXTUREMANAGE});
        EXPECT_TRUE(image.pixels == nullptr && image.width == 0 && image.height == 0 && image.depth == 0);
        surface->Release();
        logFlush();
        EXPECT_EXIT(createTexture(image), ExitedWithCode(255), "error!: create surface\n");  // now 0 x 0
    }
}

TEST_F(NullTextures, CopyFailuresStopTheProgram) {
    IDirectDrawSurface7* surface = Renderer::createTextureSurface(textureFormat, 2, 2);
    const std::string before = log.textAfterStartLine();
    logFlush();
    EXPECT_EXIT(copyPixels(RawImage(3, 2, pixels), surface), ExitedWithCode(255),
                "^error!: \\(Ddraw\\) Source and destination does not have same size\n$");
    EXPECT_EQ(log.textAfterStartLine(), before + "locking surface  success\n" +
                                            "Error while copying texture from \t\t\tSystem Memory to DirectDraw "
                                            "Surface : source and destination does \t\t\tnot have the same size");
    platform::NullDriverSettings failing = settings();
    failing.failures["Lock"] = DDERR_SURFACELOST;
    platform::setNullDriverSettings(failing);
    directDraw->Release();
    EXPECT_EQ(DirectDrawCreateEx(const_cast<GUID*>(&platform::nullDriverGuid()), reinterpret_cast<void**>(&directDraw),
                                 IID_IDirectDraw7, nullptr),
              DD_OK);
    EXPECT_EXIT(createTexture(*std::make_unique<RawImage>(2, 2, pixels)), ExitedWithCode(255),
                "error!: locking surface \n");
}

TEST_F(NullTextures, LoadStampsTheOpacityOfEachMaterialIntoTgaAndJpegButNeverZkv) {
    DebugOutputCapture debug;
    ImageFiles files;
    const image_writers::Image grey{2, 1, {0x00808080, 0x00808080}};
    const std::string tga = files.write("Wall.TGA", image_writers::tgaTrueColour(grey, 24));
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(tga).parent_path());
    files.write("stone.jpg", image_writers::jpeg(2, 1, image_writers::Bytes(6, 0x80), 3, 100));
    const image_writers::Image glass{2, 1, {0x11808080, 0x22808080}};
    files.write("Glass.ZKV", image_writers::gzip(image_writers::zkvBody(glass, 32, true), 6));
    struct Case {
        std::string name;
        float opacity;
        std::vector<uint16_t> texels;  // RGB565, or ARGB4444 with alpha
        std::string debugOutput;
    };
    const Case cases[] = {
        {tga, 0.5f, {0x8888, 0x8888}, "reading TGA file \n"},
        {tga, 1.0f, {0x8410, 0x8410}, "reading TGA file \n"},
        {"datas\\Stone.JPG", 0.5f, {0x8888, 0x8888}, "reading a jpg file \nstone.jpg"},
        {"Glass.ZKV", 0.5f, {0x1888, 0x2888}, "reading Zkv file \nglass.zkv"},
    };
    for (const Case& c : cases) {
        const size_t debugBefore = debug.text().size();
        std::string logBefore = log.textAfterStartLine();
        Texture texture(c.name);
        testing::internal::CaptureStdout();
        texture.load(c.opacity);
        testing::internal::GetCapturedStdout();
        const std::vector<uint8_t> bytes = contents(texture.surface);
        EXPECT_EQ(std::vector<uint16_t>({uint16_t(bytes[0] | bytes[1] << 8), uint16_t(bytes[2] | bytes[3] << 8)}),
                  c.texels)
            << c.name << " at " << c.opacity;
        EXPECT_EQ(debug.text().substr(debugBefore),
                  c.debugOutput + "create surface success\nlocking surface  success\n");
        EXPECT_THAT(log.textAfterStartLine().substr(logBefore.size()),
                    testing::StartsWith("trying to load : " + c.name + "\n"));
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
    ImageFiles files;
    const std::string name = files.write("wall.tga", image_testing::tga(1, 1, 24, {1, 2, 3}));
    auto texture = std::make_unique<Texture>(name);
    texture->load(1.0f);
    IDirectDrawSurface7* surface = texture->surface;
    directDraw->Release();
    directDraw = nullptr;
    texture.reset();
    EXPECT_EQ(surface->AddRef(), 0u);  // gone: a released object refuses new references
}
