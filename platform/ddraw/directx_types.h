#pragma once
// The DirectDraw 7 / Direct3D 7 subset the engine calls: result codes, records
// and COM interfaces with the real names, values and layouts. Only the methods
// the engine uses are declared; each returns the real API's codes.

#include "platform/ddraw/d3d_types.h"
#include "platform/ddraw/ddraw_results.h"
#include "platform/ddraw/ddraw_types.h"
#include "platform/win32/win32_types.h"

constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x8000'4002u);

typedef GUID CLSID;
typedef const CLSID& REFCLSID;

// Interface and device identifiers, as the DirectX 7 headers define them.
inline constexpr IID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};
inline constexpr IID IID_IDirectDrawSurface7 = {
    0x06675a80, 0x3b9b, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};
inline constexpr IID IID_IDirect3D7 = {0xf5049e77, 0x4861, 0x11d2, {0xa4, 0x07, 0x00, 0xa0, 0xc9, 0x06, 0x29, 0xa8}};
inline constexpr IID IID_IDirect3DDevice7 = {
    0xf5049e79, 0x4861, 0x11d2, {0xa4, 0x07, 0x00, 0xa0, 0xc9, 0x06, 0x29, 0xa8}};
inline constexpr IID IID_IDirect3DVertexBuffer7 = {
    0xf5049e7d, 0x4861, 0x11d2, {0xa4, 0x07, 0x00, 0xa0, 0xc9, 0x06, 0x29, 0xa8}};
inline constexpr CLSID IID_IDirect3DHALDevice = {
    0x84e63de0, 0x46aa, 0x11cf, {0x81, 0x6f, 0x00, 0x00, 0xc0, 0x20, 0x15, 0x6e}};
inline constexpr CLSID IID_IDirect3DTnLHalDevice = {
    0xf5049e78, 0x4861, 0x11d2, {0xa4, 0x07, 0x00, 0xa0, 0xc9, 0x06, 0x29, 0xa8}};
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IUnknown {
    virtual HRESULT WINAPI QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG WINAPI AddRef() = 0;
    virtual ULONG WINAPI Release() = 0;

protected:
    ~IUnknown() = default;  // objects die through Release, never through delete
};

struct IDirectDrawSurface7 : IUnknown {
    virtual HRESULT WINAPI AddAttachedSurface(LPDIRECTDRAWSURFACE7 attached) = 0;
    virtual HRESULT WINAPI Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) = 0;
    virtual HRESULT WINAPI GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) = 0;
    virtual HRESULT WINAPI GetSurfaceDesc(LPDDSURFACEDESC2 description) = 0;
    // The whole surface when rect is null; description->dwSize must be set.
    virtual HRESULT WINAPI Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD flags, HANDLE event) = 0;
    virtual HRESULT WINAPI Unlock(LPRECT rect) = 0;

protected:
    ~IDirectDrawSurface7() = default;
};

struct IDirectDraw7 : IUnknown {
    virtual HRESULT WINAPI CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE7* surface,
                                         IUnknown* outer) = 0;
    virtual HRESULT WINAPI EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 match, LPVOID context,
                                            LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual HRESULT WINAPI SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT WINAPI SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                          DWORD flags) = 0;

protected:
    ~IDirectDraw7() = default;
};

struct IDirect3DVertexBuffer7 : IUnknown {
    virtual HRESULT WINAPI Lock(DWORD flags, LPVOID* data, LPDWORD size) = 0;
    virtual HRESULT WINAPI Unlock() = 0;
    virtual HRESULT WINAPI GetVertexBufferDesc(LPD3DVERTEXBUFFERDESC description) = 0;

protected:
    ~IDirect3DVertexBuffer7() = default;
};

struct IDirect3DDevice7 : IUnknown {
    virtual HRESULT WINAPI EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) = 0;
    virtual HRESULT WINAPI BeginScene() = 0;
    virtual HRESULT WINAPI EndScene() = 0;
    virtual HRESULT WINAPI SetRenderTarget(LPDIRECTDRAWSURFACE7 target, DWORD flags) = 0;
    // rects are exclusive of x2 and y2; with count 0 and rects null the whole viewport.
    virtual HRESULT WINAPI Clear(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR colour, D3DVALUE z,
                                 DWORD stencil) = 0;
    virtual HRESULT WINAPI SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) = 0;
    virtual HRESULT WINAPI SetViewport(LPD3DVIEWPORT7 viewport) = 0;
    virtual HRESULT WINAPI SetMaterial(LPD3DMATERIAL7 material) = 0;
    virtual HRESULT WINAPI SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT WINAPI DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                         DWORD flags) = 0;
    virtual HRESULT WINAPI DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                                DWORD vertexCount, LPWORD indices, DWORD indexCount, DWORD flags) = 0;
    virtual HRESULT WINAPI SetTexture(DWORD stage, LPDIRECTDRAWSURFACE7 texture) = 0;
    virtual HRESULT WINAPI SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) = 0;

protected:
    ~IDirect3DDevice7() = default;
};

struct IDirect3D7 : IUnknown {
    virtual HRESULT WINAPI CreateDevice(REFCLSID deviceType, LPDIRECTDRAWSURFACE7 renderTarget,
                                        IDirect3DDevice7** device) = 0;
    virtual HRESULT WINAPI CreateVertexBuffer(LPD3DVERTEXBUFFERDESC description, IDirect3DVertexBuffer7** buffer,
                                              DWORD flags) = 0;
    virtual HRESULT WINAPI EnumZBufferFormats(REFCLSID deviceType, LPD3DENUMPIXELFORMATSCALLBACK callback,
                                              LPVOID context) = 0;

protected:
    ~IDirect3D7() = default;
};

typedef IDirectDraw7* LPDIRECTDRAW7;
typedef IDirect3D7* LPDIRECT3D7;
typedef IDirect3DDevice7* LPDIRECT3DDEVICE7;
typedef IDirect3DVertexBuffer7* LPDIRECT3DVERTEXBUFFER7;
