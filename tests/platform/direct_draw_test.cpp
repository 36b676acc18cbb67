#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "platform/ddraw/pixel_formats.h"
#include "platform/layer.h"
#include "platform/test_seams.h"
#include "platform/tool_interface.h"

using testing::ElementsAre;

namespace {

HRESULT createNull(IDirectDraw7** display) {
    return DirectDrawCreateEx(const_cast<GUID*>(&platform::nullDriverGuid()), reinterpret_cast<void**>(display),
                              IID_IDirectDraw7, nullptr);
}

DDSURFACEDESC2 textureDescription(DWORD width, DWORD height, DDPIXELFORMAT format) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddpfPixelFormat = format;
    description.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    return description;
}

DDSURFACEDESC2 lockDescription() {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    return description;
}

// A DirectDraw object on the null driver with a device on an off-screen
// render target and one RGB565 texture.
class NullObjects : public testing::Test {
protected:
    void SetUp() override {
        platform::setNullDriverSettings(platform::defaultNullDriverSettings());
        ASSERT_EQ(createNull(&display), DD_OK);
        ASSERT_EQ(display->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D)), DD_OK);
        DDSURFACEDESC2 target = textureDescription(64, 32, platform::rgb565Format());
        target.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
        ASSERT_EQ(display->CreateSurface(&target, &renderTarget, nullptr), DD_OK);
        ASSERT_EQ(direct3D->CreateDevice(IID_IDirect3DHALDevice, renderTarget, &device), DD_OK);
        DDSURFACEDESC2 texture = textureDescription(3, 2, platform::rgb565Format());
        ASSERT_EQ(display->CreateSurface(&texture, &this->texture, nullptr), DD_OK);
        platform::clearNullDriverCalls();
    }
    void TearDown() override {
        for (IUnknown* object : std::initializer_list<IUnknown*>{texture, device, renderTarget, direct3D, display})
            if (object != nullptr) object->Release();
        platform::clearNullDriverCalls();
    }

    IDirectDraw7* display = nullptr;
    IDirect3D7* direct3D = nullptr;
    IDirectDrawSurface7* renderTarget = nullptr;
    IDirect3DDevice7* device = nullptr;
    IDirectDrawSurface7* texture = nullptr;
};

}  // namespace

TEST(DirectDrawDrivers, EnumerationListsThePrimaryDriverWithoutAGuidThenTheEnhancedOne) {
    struct Seen {
        std::vector<std::optional<GUID>> guids;
        std::vector<std::string> descriptions;
    };
    auto callback = [](GUID* guid, LPSTR description, LPSTR, LPVOID context, HMONITOR) -> BOOL {
        auto* found = static_cast<Seen*>(context);
        found->guids.push_back(guid != nullptr ? std::optional<GUID>(*guid) : std::nullopt);
        found->descriptions.push_back(description);
        return TRUE;
    };
    Seen display;
    platform::setPrimaryDriver(platform::DriverKind::display);
    EXPECT_EQ(DirectDrawEnumerateExA(callback, &display, 7), DD_OK);
    EXPECT_EQ(display.descriptions, (std::vector<std::string>{"Primary Display Driver", "Enhanced Display Driver"}));
    ASSERT_EQ(display.guids.size(), 2u);
    EXPECT_FALSE(display.guids[0]);
    EXPECT_TRUE(display.guids[1] && *display.guids[1] == platform::enhancedDriverGuid());
    // A tool's stand-in for the display is the only driver listed.
    Seen capture;
    platform::setPrimaryDriver(platform::DriverKind::capture);
    EXPECT_EQ(DirectDrawEnumerateExA(callback, &capture, 7), DD_OK);
    EXPECT_EQ(capture.descriptions, std::vector<std::string>{"Primary Display Driver"});
    platform::setPrimaryDriver(platform::DriverKind::display);
    EXPECT_EQ(DirectDrawEnumerateExA(nullptr, nullptr, 0), DDERR_INVALIDPARAMS);
}

TEST(DirectDrawDrivers, CreationChecksItsArguments) {
    IDirectDraw7* display = reinterpret_cast<IDirectDraw7*>(0xdeadbeef);
    GUID unknown{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectDrawCreateEx(&unknown, reinterpret_cast<void**>(&display), IID_IDirectDraw7, nullptr),
              DDERR_INVALIDDIRECTDRAWGUID);
    EXPECT_EQ(display, nullptr);
    EXPECT_EQ(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&display), IID_IDirect3D7, nullptr),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(DirectDrawCreateEx(nullptr, nullptr, IID_IDirectDraw7, nullptr), DDERR_INVALIDPARAMS);
    // DDCREATE_HARDWAREONLY is a number in place of a GUID pointer: it names the primary driver.
    platform::setPrimaryDriver(platform::DriverKind::null);
    EXPECT_EQ(
        DirectDrawCreateEx(reinterpret_cast<GUID*>(1), reinterpret_cast<void**>(&display), IID_IDirectDraw7, nullptr),
        DD_OK);
    EXPECT_EQ(display->Release(), 0u);
    platform::setPrimaryDriver(platform::DriverKind::display);
}

TEST(DirectDrawModes, EnumeratedInTheUsersOrderAndOnlyThoseCanBeSet) {
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.displayModes = {{800, 600, 32}, {320, 200, 8}, {640, 480, 16}};
    platform::setNullDriverSettings(settings);
    IDirectDraw7* display = nullptr;
    ASSERT_EQ(createNull(&display), DD_OK);
    std::vector<std::string> modes;
    auto collect = [](LPDDSURFACEDESC2 mode, LPVOID context) -> HRESULT {
        static_cast<std::vector<std::string>*>(context)->push_back(
            std::to_string(mode->dwWidth) + "x" + std::to_string(mode->dwHeight) + "x" +
            std::to_string(mode->ddpfPixelFormat.dwRGBBitCount) + " pitch " + std::to_string(mode->lPitch));
        return DDENUMRET_OK;
    };
    EXPECT_EQ(display->EnumDisplayModes(0, nullptr, &modes, collect), DD_OK);
    EXPECT_THAT(modes, ElementsAre("800x600x32 pitch 3200", "320x200x8 pitch 320", "640x480x16 pitch 1280"));
    EXPECT_EQ(display->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_EQ(display->SetDisplayMode(640, 480, 32, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(display->EnumDisplayModes(0, nullptr, nullptr, nullptr), DDERR_INVALIDPARAMS);
    display->Release();
    platform::setNullDriverSettings(platform::defaultNullDriverSettings());
}

TEST_F(NullObjects, ReferenceCountsAndStaleObjects) {
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    EXPECT_EQ(texture->Release(), 0u);
    DDSURFACEDESC2 description = lockDescription();
    EXPECT_EQ(texture->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DDERR_INVALIDOBJECT);
    EXPECT_EQ(texture->Release(), 0u);  // a second final release is harmless
    texture = nullptr;
}

// The demo releases the DirectDraw object before the scenes whose textures it
// made; those objects then refuse every call, and releasing them is safe.
TEST_F(NullObjects, ObjectsOutliveTheirDirectDrawObjectSafely) {
    EXPECT_EQ(display->Release(), 0u);
    display = nullptr;
    DDSURFACEDESC2 description = lockDescription();
    EXPECT_EQ(texture->Lock(nullptr, &description, 0, nullptr), DDERR_INVALIDOBJECT);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATE_ZENABLE, 1), DDERR_INVALIDOBJECT);
    IDirect3DVertexBuffer7* buffer = nullptr;
    D3DVERTEXBUFFERDESC vertices{sizeof vertices, 0, D3DFVF_VERTEX, 4};
    EXPECT_EQ(direct3D->CreateVertexBuffer(&vertices, &buffer, 0), DDERR_INVALIDOBJECT);
}

TEST_F(NullObjects, NullArgumentsAreRefused) {
    DDSURFACEDESC2 description = lockDescription();
    IDirectDrawSurface7* surface = nullptr;
    IDirect3DDevice7* otherDevice = nullptr;
    const HRESULT results[] = {
        display->CreateSurface(nullptr, &surface, nullptr),
        display->CreateSurface(&description, nullptr, nullptr),
        display->QueryInterface(IID_IDirect3D7, nullptr),
        texture->Lock(nullptr, nullptr, 0, nullptr),
        texture->GetSurfaceDesc(nullptr),
        texture->GetAttachedSurface(nullptr, &surface),
        texture->AddAttachedSurface(nullptr),
        direct3D->CreateDevice(IID_IDirect3DHALDevice, nullptr, &otherDevice),
        direct3D->CreateVertexBuffer(nullptr, nullptr, 0),
        direct3D->EnumZBufferFormats(IID_IDirect3DHALDevice, nullptr, nullptr),
        device->EnumTextureFormats(nullptr, nullptr),
        device->SetViewport(nullptr),
        device->SetMaterial(nullptr),
        device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, nullptr),
        device->SetRenderTarget(nullptr, 0),
        device->Clear(1, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0),
    };
    for (size_t index = 0; index < std::size(results); ++index)
        EXPECT_EQ(results[index], DDERR_INVALIDPARAMS) << "call " << index;
}

TEST_F(NullObjects, SurfaceCreationRefusals) {
    struct Case {
        const char* name;
        DDSURFACEDESC2 description;
        HRESULT result;
    };
    DDSURFACEDESC2 wrongSize = textureDescription(4, 4, platform::rgb565Format());
    wrongSize.dwSize = 124;
    DDSURFACEDESC2 primary{};
    primary.dwSize = sizeof primary;
    primary.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    primary.dwBackBufferCount = 1;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    const Case cases[] = {
        {"0 x 0 texture", textureDescription(0, 0, platform::rgb565Format()), DDERR_INVALIDPARAMS},
        {"all-zero pixel format", textureDescription(4, 4, DDPIXELFORMAT{}), DDERR_INVALIDPIXELFORMAT},
        {"format the driver lacks", textureDescription(4, 4, platform::xrgb8888Format()), DDERR_INVALIDPIXELFORMAT},
        {"too wide", textureDescription(16385, 4, platform::rgb565Format()), DDERR_TOOBIGWIDTH},
        {"description of another size", wrongSize, DDERR_INVALIDPARAMS},
        {"flipping primary without exclusive mode", primary, DDERR_NOEXCLUSIVEMODE},
    };
    for (const Case& c : cases) {
        DDSURFACEDESC2 description = c.description;
        IDirectDrawSurface7* surface = reinterpret_cast<IDirectDrawSurface7*>(0xdeadbeef);
        EXPECT_EQ(display->CreateSurface(&description, &surface, nullptr), c.result) << c.name;
        EXPECT_EQ(surface, nullptr) << c.name;
    }
}

TEST_F(NullObjects, LockGivesMemoryWithARealPitchThatKeepsWhatWasWritten) {
    DDSURFACEDESC2 description = lockDescription();
    ASSERT_EQ(texture->Lock(nullptr, &description, DDLOCK_WRITEONLY, nullptr), DD_OK);
    EXPECT_EQ(description.lPitch, 8);  // 3 pixels of 2 bytes, rows aligned to 8
    EXPECT_TRUE(description.dwFlags & DDSD_LPSURFACE);
    auto* row1 = static_cast<uint8_t*>(description.lpSurface) + description.lPitch;
    std::memcpy(row1, "\x34\x12", 2);
    DDSURFACEDESC2 again = lockDescription();
    EXPECT_EQ(texture->Lock(nullptr, &again, 0, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(texture->Unlock(nullptr), DD_OK);
    EXPECT_EQ(texture->Unlock(nullptr), DDERR_NOTLOCKED);
    RECT secondRow{0, 1, 3, 2};
    ASSERT_EQ(texture->Lock(&secondRow, &again, DDLOCK_READONLY, nullptr), DD_OK);
    EXPECT_EQ(*static_cast<uint16_t*>(again.lpSurface), 0x1234);
    texture->Unlock(nullptr);
    RECT outside{0, 0, 4, 2};
    EXPECT_EQ(texture->Lock(&outside, &again, 0, nullptr), DDERR_INVALIDRECT);
}

TEST_F(NullObjects, DeviceCallsAreCheckedAndRecorded) {
    D3DTLVERTEX quad[3] = {};
    WORD badIndices[3] = {0, 1, 3};
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 3, 0), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 3, 0), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(9), D3DFVF_TLVERTEX, quad, 3, 0),
              D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_NORMAL, quad, 3, 0),
              D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, quad, 3, badIndices, 3, 0),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_ZBUFFER_NOTPRESENT);
    EXPECT_EQ(device->SetTexture(0, renderTarget), DDERR_INVALIDPARAMS);  // no DDSCAPS_TEXTURE
    EXPECT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(256), 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    std::vector<platform::RecordedCall> calls = platform::nullDriverCalls();
    ASSERT_EQ(calls.size(), 13u);
    EXPECT_EQ(calls[4].text(), "IDirect3DDevice7::DrawPrimitive(4, 452, 3, 0)");
    EXPECT_EQ(calls[4].payload.size(), sizeof quad);
    EXPECT_EQ(calls[7].payload.size(), sizeof quad + sizeof badIndices);
    EXPECT_EQ(calls[10].arguments, (std::vector<uint64_t>{0, reinterpret_cast<uintptr_t>(texture)}));
}

TEST_F(NullObjects, ATextureOfAnotherDirectDrawObjectIsRefused) {
    IDirectDraw7* other = nullptr;
    ASSERT_EQ(createNull(&other), DD_OK);
    DDSURFACEDESC2 description = textureDescription(2, 2, platform::rgb565Format());
    IDirectDrawSurface7* foreign = nullptr;
    ASSERT_EQ(other->CreateSurface(&description, &foreign, nullptr), DD_OK);
    EXPECT_EQ(device->SetTexture(0, foreign), DDERR_INVALIDPARAMS);
    foreign->Release();
    other->Release();
}

TEST(NullDriverSettings, InjectedFailureIsRecordedThenReturned) {
    platform::NullDriverSettings settings = platform::defaultNullDriverSettings();
    settings.failures["SetCooperativeLevel"] = DDERR_EXCLUSIVEMODEALREADYSET;
    platform::setNullDriverSettings(settings);
    platform::clearNullDriverCalls();
    IDirectDraw7* display = nullptr;
    ASSERT_EQ(createNull(&display), DD_OK);
    EXPECT_EQ(display->SetCooperativeLevel(nullptr, DDSCL_NORMAL), DDERR_EXCLUSIVEMODEALREADYSET);
    display->Release();
    ASSERT_EQ(platform::nullDriverCalls().size(), 2u);
    EXPECT_EQ(platform::nullDriverCalls()[0].text(), "IDirectDraw7::SetCooperativeLevel(0, 8)");
    EXPECT_EQ(platform::nullDriverCalls()[1].text(), "IDirectDraw7::Release()");
    platform::setNullDriverSettings(platform::defaultNullDriverSettings());
}
