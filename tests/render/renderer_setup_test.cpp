#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"
#include "render/renderer.h"
#include "tests/support/null_display.h"
#include "tests/support/test_support.h"

using testing::ElementsAre;
using testing::EndsWith;
using testing::ExitedWithCode;
using testing_support::callsNamed;
using testing_support::LogCapture;
using testing_support::NullDriverScope;

namespace {

const char* const successfulSetUpLog =
    "-----------------------\nInitialising Direct3d\n-----------------------\n\n"
    "direct Draw create success\n"
    "set cooperative level success\n"
    "640x480x16x REAL\n"
    "set displayMode success\n"
    "create primarySurface success\n"
    "get backbuffer success\n"
    "Query interface for Direct3d success\n"
    "createDevice for D3d success\n"
    "SetViewPort success\n"
    "create Zbuffer success\n"
    "Attached Zbuffer to BackBuffer success\n"
    "Set render target success\n"
    "create Vertex Buffer success\n"
    "found a 16bpp texture format (RGB565)\n"
    "\nDirect3d initialisation : OK\n\n\n";

platform::NullDriverSettings withTextureFormats(std::vector<DDPIXELFORMAT> formats) {
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.textureFormats = std::move(formats);
    return settings;
}

DDPIXELFORMAT luminanceFormat() {
    DDPIXELFORMAT format = platform::rgb565Format();
    format.dwFlags = DDPF_LUMINANCE;
    return format;
}

// 32 bits with an unusual alpha mask: any 32-bit alpha format is taken.
DDPIXELFORMAT bgra8888Format() {
    DDPIXELFORMAT format = platform::argb8888Format();
    format.dwRBitMask = 0x0000FF00;
    format.dwBBitMask = 0xFF000000;
    format.dwRGBAlphaBitMask = 0x000000FF;
    return format;
}

bool same(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(RendererSetUp, LogsEveryStepInOrderAndFillsTheDisplayState) {
    LogCapture log;
    NullDriverScope driver;
    Renderer renderer;
    EXPECT_EQ(renderer.setUp(), DD_OK);
    EXPECT_EQ(log.textAfterStartLine(), successfulSetUpLog);
    EXPECT_EQ(mainWindow, renderWindow);
    EXPECT_TRUE(IsWindow(renderWindow));
    EXPECT_EQ(renderer.instance, instance);
    EXPECT_EQ(displaySize.width, 640);
    EXPECT_EQ(displaySize.bitDepth, 16);
    EXPECT_EQ(renderer.clearRect.x2, 640);
    EXPECT_EQ(renderer.clearRect.y2, 480);
    EXPECT_NE(vertexBuffer, nullptr);
    EXPECT_TRUE(same(textureFormat, platform::rgb565Format()));
    EXPECT_TRUE(same(alphaTextureFormat, platform::argb4444Format()));
}

TEST(RendererSetUp, AsksTheDriverForTheSpecifiedDisplay) {
    LogCapture log;
    NullDriverScope driver;
    Renderer renderer;
    renderer.setUp();
    EXPECT_EQ(callsNamed("SetCooperativeLevel")[0].arguments[1], 0x813u);
    EXPECT_THAT(callsNamed("SetDisplayMode")[0].arguments, ElementsAre(640, 480, 16, 0, 0));
    std::vector<platform::RecordedCall> creations = callsNamed("CreateSurface");
    ASSERT_EQ(creations.size(), 2u);
    DDSURFACEDESC2 primary = creations[0].payloadAs<DDSURFACEDESC2>().at(0);
    EXPECT_EQ(primary.dwFlags, DDSD_CAPS | DDSD_BACKBUFFERCOUNT);
    EXPECT_EQ(primary.dwBackBufferCount, 1u);
    EXPECT_EQ(primary.ddsCaps.dwCaps, 0x2218u);
    DDSURFACEDESC2 zBuffer = creations[1].payloadAs<DDSURFACEDESC2>().at(0);
    EXPECT_EQ(zBuffer.dwFlags, 0x1007u);
    EXPECT_EQ(zBuffer.ddsCaps.dwCaps, 0x24000u);
    EXPECT_EQ(zBuffer.dwWidth, 640u);
    D3DVIEWPORT7 viewport = callsNamed("SetViewport")[0].payloadAs<D3DVIEWPORT7>().at(0);
    EXPECT_EQ(viewport.dwWidth, 640u);
    EXPECT_EQ(viewport.dvMaxZ, 1.0f);
    D3DVERTEXBUFFERDESC buffer = callsNamed("CreateVertexBuffer")[0].payloadAs<D3DVERTEXBUFFERDESC>().at(0);
    EXPECT_EQ(buffer.dwFVF, 0x112u);
    EXPECT_EQ(buffer.dwNumVertices, 80u);
}

TEST(RendererSetUp, TakesTheFirstSixteenBitZBufferFormat) {
    LogCapture log;
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.zBufferFormats = {platform::zBufferFormat(24), platform::zBufferFormat(16), platform::zBufferFormat(32)};
    NullDriverScope driver(settings);
    Renderer renderer;
    renderer.setUp();
    DDSURFACEDESC2 zBuffer = callsNamed("CreateSurface").at(1).payloadAs<DDSURFACEDESC2>().at(0);
    EXPECT_TRUE(same(zBuffer.ddpfPixelFormat, platform::zBufferFormat(16)));
}

TEST(RendererSetUp, ChoosesTextureFormatsInEnumerationOrder) {
    struct Case {
        const char* name;
        std::vector<DDPIXELFORMAT> offered;
        DDPIXELFORMAT plain;
        DDPIXELFORMAT alpha;  // all zero: none
        const char* formatLines;
    };
    const DDPIXELFORMAT none{};
    const Case cases[] = {
        {"555 listed before 565 wins",
         {platform::rgb555Format(), platform::rgb565Format(), platform::argb4444Format()},
         platform::rgb555Format(),
         platform::argb4444Format(),
         "found a 15bpp texture format (RGB555)\n"},
        {"luminance, FourCC and alpha formats are no plain format",
         {luminanceFormat(), platform::argb4444Format(), platform::rgb565Format()},
         platform::rgb565Format(),
         platform::argb4444Format(),
         "found a 16bpp texture format (RGB565)\n"},
        {"1-bit alpha is no alpha format",
         {platform::rgb565Format(), platform::argb1555Format()},
         platform::rgb565Format(),
         none,
         "found a 16bpp texture format (RGB565)\nno color Key & alpha !!!!!\n"},
        {"32-bit alpha is taken whatever its mask",
         {platform::argb1555Format(), bgra8888Format(), platform::rgb565Format(), platform::argb4444Format()},
         platform::rgb565Format(),
         bgra8888Format(),
         "found a 16bpp texture format (RGB565)\n"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        NullDriverScope driver(withTextureFormats(c.offered));
        Renderer renderer;
        renderer.setUp();
        EXPECT_TRUE(same(textureFormat, c.plain)) << c.name;
        EXPECT_TRUE(same(alphaTextureFormat, c.alpha)) << c.name;
        EXPECT_THAT(log.textAfterStartLine(), EndsWith(std::string("create Vertex Buffer success\n") + c.formatLines +
                                                       "\nDirect3d initialisation : OK\n\n\n"))
            << c.name;
    }
}

TEST(RendererSetUp, FlipFlagsFollowTheRetraceSetting) {
    struct Case {
        int32_t waitForRetrace;
        uint64_t flags;
    };
    for (Case c : {Case{1, DDFLIP_WAIT}, Case{0, 0x28}, Case{7, DDFLIP_WAIT}}) {
        LogCapture log;
        NullDriverScope driver;
        waitForRetrace = c.waitForRetrace;
        Renderer renderer;
        renderer.setUp();
        renderer.flip();
        renderer.flip();
        EXPECT_EQ(flipFlags, c.flags);
        EXPECT_EQ(renderer.framesPresented, 2);
        ASSERT_EQ(callsNamed("Flip").size(), 2u);
        EXPECT_THAT(callsNamed("Flip")[1].arguments, ElementsAre(0, c.flags));
    }
}

TEST(RendererSetUp, CreatesManagedTextureSurfacesOfTheAskedSize) {
    LogCapture log;
    NullDriverScope driver;
    Renderer renderer;
    renderer.setUp();
    IDirectDrawSurface7* surface = Renderer::createTextureSurface(textureFormat, 3, 5);
    ASSERT_NE(surface, nullptr);
    DDSURFACEDESC2 asked = callsNamed("CreateSurface").back().payloadAs<DDSURFACEDESC2>().at(0);
    EXPECT_EQ(asked.dwFlags, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE);
    EXPECT_EQ(asked.ddsCaps.dwCaps, 0x1000u);
    EXPECT_EQ(asked.ddsCaps.dwCaps2, 0x10u);
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    ASSERT_EQ(surface->Lock(nullptr, &locked, DDLOCK_WRITEONLY, nullptr), DD_OK);
    EXPECT_EQ(locked.dwWidth, 5u);
    EXPECT_EQ(locked.dwHeight, 3u);
    EXPECT_EQ(locked.lPitch, 16);  // 10 bytes of pixels, rows aligned to 8
    surface->Unlock(nullptr);
    surface->Release();
    EXPECT_THAT(log.textAfterStartLine(), EndsWith("OK\n\n\ncreate surface success\n"));
}

TEST(RendererSetUpDeathTest, AFailingStepStopsWithItsLabelAfterLoggingTheCause) {
    struct Case {
        const char* method;  // the call the null driver refuses
        HRESULT result;
        const char* label;
        const char* cause;
    };
    const Case cases[] = {
        {"SetCooperativeLevel", DDERR_INVALIDPARAMS, "set cooperative level",
         ": One or more of the parameters passed to the method are incorrect. "},
        {"GetAttachedSurface", DDERR_NOTFOUND, "get backbuffer", ": The requested item was not found. "},
        {"QueryInterface", DDERR_GENERIC, "Query interface for Direct3d", ": There is an undefined error condition. "},
        {"CreateDevice", DDERR_OUTOFVIDEOMEMORY, "createDevice for D3d",
         ": DirectDraw does not have enough display memory to perform the operation. "},
        {"SetViewport", DDERR_INVALIDPARAMS, "SetViewPort",
         ": One or more of the parameters passed to the method are incorrect. "},
        {"AddAttachedSurface", DDERR_CANNOTATTACHSURFACE, "Attached Zbuffer to BackBuffer",
         ": A surface cannot be attached to another requested surface. "},
        {"SetRenderTarget", DDERR_GENERIC, "Set render target", ": There is an undefined error condition. "},
        {"CreateVertexBuffer", DDERR_OUTOFMEMORY, "create Vertex Buffer",
         ": DirectDraw does not have enough memory to perform the operation. "},
    };
    for (const Case& c : cases) {
        LogCapture log;
        platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
        settings.failures[c.method] = c.result;
        NullDriverScope driver(settings);
        logFlush();
        EXPECT_EXIT(Renderer().setUp(), ExitedWithCode(255), std::string("error!: ") + c.label + "\n") << c.method;
        EXPECT_THAT(log.textAfterStartLine(), EndsWith(std::string(c.label) + " failed\n cause : " + c.cause + "\n"))
            << c.method;
    }
}

TEST(RendererSetUpDeathTest, RefusedDisplayModeStopsAfterTheModeLine) {
    LogCapture log;
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.displayModes = {{640, 480, 32}, {800, 600, 16}};
    NullDriverScope driver(settings);
    logFlush();
    EXPECT_EXIT(Renderer().setUp(), ExitedWithCode(255), "error!: set displayMode\n");
    EXPECT_THAT(log.textAfterStartLine(),
                EndsWith("set cooperative level success\n640x480x16x REAL\nset displayMode failed\n"
                         " cause : : DirectDraw does not support the requested mode. \n"));
}

TEST(RendererSetUpDeathTest, MissingFormatsStopTheRun) {
    struct Case {
        const char* name;
        platform::NullDriverSettings settings;
        const char* box;
        const char* logEnd;
    };
    platform::NullDriverSettings noZBuffer = platform::defaultNullDriverSettings();
    noZBuffer.zBufferFormats = {platform::zBufferFormat(24)};
    const Case cases[] = {
        {"no 16-bit texture format", withTextureFormats({platform::argb4444Format(), platform::xrgb8888Format()}),
         "error!: Can't find any 16bbp texture format!\n", "create Vertex Buffer success\n"},
        {"no 16-bit z-buffer format", noZBuffer, "error!: create Zbuffer\n",
         "create Zbuffer failed\n cause : : The pixel format was invalid as specified. \n"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        NullDriverScope driver(c.settings);
        logFlush();
        EXPECT_EXIT(Renderer().setUp(), ExitedWithCode(255), c.box) << c.name;
        EXPECT_THAT(log.textAfterStartLine(), EndsWith(c.logEnd)) << c.name;
    }
}

TEST(RendererSetUpDeathTest, AlphaSurfaceWithoutAnAlphaFormatFailsAsCreateSurface) {
    LogCapture log;
    NullDriverScope driver(withTextureFormats({platform::rgb565Format(), platform::argb1555Format()}));
    Renderer renderer;
    renderer.setUp();
    logFlush();
    EXPECT_EXIT(Renderer::createTextureSurface(alphaTextureFormat, 4, 4), ExitedWithCode(255),
                "error!: create surface\n");
    EXPECT_THAT(log.textAfterStartLine(),
                EndsWith("create surface failed\n cause : : The pixel format was invalid as specified. \n"));
}
