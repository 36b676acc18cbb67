#include "render/renderer.h"

#include "base/checked_calls.h"
#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "render/render_window.h"
#include "render/texture_format_choice.h"

namespace {

constexpr DWORD exclusiveFullScreen = DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_FPUSETUP;
constexpr DWORD flippingPrimary = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
constexpr DWORD vertexBufferCapacity = 80;

}  // namespace

Renderer::Renderer() {
    directDraw = nullptr;
    device = nullptr;
    renderWindow = nullptr;
}

HRESULT Renderer::setUp() {
    displaySize = DisplaySize{displayWidth, displayHeight, displayBitDepth};
    flipFlags = waitForRetrace != 0 ? DDFLIP_WAIT : DDFLIP_NOVSYNC | DDFLIP_DONOTWAIT;
    logWrite("-----------------------\nInitialising Direct3d\n-----------------------\n");
    instance = ::instance;
    createRenderWindow(instance);
    if (HRESULT result = createSurfaces(); FAILED(result)) return result;
    if (HRESULT result = createDevice(); FAILED(result)) return result;
    createZBuffer();
    HRESULT result = createVertexBuffer();
    if (FAILED(result)) return result;
    chooseTextureFormat(device);
    chooseAlphaTextureFormat(device);
    logWrite("\nDirect3d initialisation : OK\n\n");
    return result;
}

HRESULT Renderer::createSurfaces() {
    HRESULT result = DirectDrawCreateEx(const_cast<GUID*>(deviceGuid), reinterpret_cast<void**>(&directDraw),
                                        IID_IDirectDraw7, nullptr);
    checkResult(result, "direct Draw create");
    checkResult(directDraw->SetCooperativeLevel(renderWindow, exclusiveFullScreen), "set cooperative level");
    logFormat("%dx%dx%dx REAL\n", displaySize.width, displaySize.height, displaySize.bitDepth);
    result = directDraw->SetDisplayMode(displaySize.width, displaySize.height, displaySize.bitDepth, 0, 0);
    checkResult(result, "set displayMode");
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(DDSURFACEDESC2);
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps.dwCaps = flippingPrimary;
    checkResult(directDraw->CreateSurface(&description, &primarySurface, nullptr), "create primarySurface");
    DDSCAPS2 backBufferCaps{DDSCAPS_BACKBUFFER, 0, 0, 0};
    result = primarySurface->GetAttachedSurface(&backBufferCaps, &backBuffer);
    checkResult(result, "get backbuffer");
    return result;
}

HRESULT Renderer::createDevice() {
    checkResult(directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D)),
                "Query interface for Direct3d");
    checkResult(direct3D->CreateDevice(IID_IDirect3DHALDevice, backBuffer, &device), "createDevice for D3d");
    D3DVIEWPORT7 viewport{0, 0, DWORD(displaySize.width), DWORD(displaySize.height), 0.0f, 1.0f};
    HRESULT result = device->SetViewport(&viewport);
    checkResult(result, "SetViewPort");
    clearRect = D3DRECT{0, 0, displaySize.width, displaySize.height};
    return result;
}

// The z-buffer takes the back buffer's size and the first 16-bit depth format
// the device lists; with none, the request goes out with a half-empty format.
void Renderer::createZBuffer() {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(DDSURFACEDESC2);
    backBuffer->GetSurfaceDesc(&description);
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    description.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    description.ddpfPixelFormat.dwSize = 0;
    description.ddpfPixelFormat.dwZBufferBitDepth = 16;
    direct3D->EnumZBufferFormats(IID_IDirect3DHALDevice, takeZBufferFormatOfDepth, &description.ddpfPixelFormat);
    checkResult(directDraw->CreateSurface(&description, &zBuffer, nullptr), "create Zbuffer");
    checkResult(backBuffer->AddAttachedSurface(zBuffer), "Attached Zbuffer to BackBuffer");
    // The device was made before the z-buffer was attached: it sees it from here.
    checkResult(device->SetRenderTarget(backBuffer, 0), "Set render target");
}

HRESULT Renderer::createVertexBuffer() {
    D3DVERTEXBUFFERDESC description{sizeof(D3DVERTEXBUFFERDESC), 0, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1,
                                    vertexBufferCapacity};
    HRESULT result = direct3D->CreateVertexBuffer(&description, &vertexBuffer, 0);
    checkResult(result, "create Vertex Buffer");
    return result;
}

IDirectDrawSurface7* Renderer::createTextureSurface(DDPIXELFORMAT format, DWORD height, DWORD width) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(DDSURFACEDESC2);
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
    description.dwHeight = height;
    description.dwWidth = width;
    description.ddpfPixelFormat = format;
    description.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    description.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;  // Direct3D keeps the video-memory copy
    description.dwTextureStage = 0;
    IDirectDrawSurface7* surface = nullptr;
    HRESULT result =
        directDraw != nullptr ? directDraw->CreateSurface(&description, &surface, nullptr) : DDERR_NOTINITIALIZED;
    checkResult(result, "create surface");
    return surface;
}
