#pragma once
// The DirectDraw 7 / Direct3D 7 subset the engine calls: result codes, records
// and COM interfaces with the real names, values and layouts.

#include "platform/ddraw_results.h"
#include "platform/win32_types.h"

struct IUnknown {
    virtual HRESULT WINAPI QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG WINAPI AddRef() = 0;
    virtual ULONG WINAPI Release() = 0;

protected:
    ~IUnknown() = default;  // objects die through Release, never through delete
};

typedef float D3DVALUE;

struct D3DCOLORVALUE {
    D3DVALUE r;
    D3DVALUE g;
    D3DVALUE b;
    D3DVALUE a;
};

struct D3DMATERIAL7 {
    D3DCOLORVALUE diffuse;
    D3DCOLORVALUE ambient;
    D3DCOLORVALUE specular;
    D3DCOLORVALUE emissive;
    D3DVALUE power;
};

struct IDirectDraw7 : IUnknown {};
struct IDirectDrawSurface7 : IUnknown {};
struct IDirect3D7 : IUnknown {};
struct IDirect3DDevice7 : IUnknown {};
struct IDirect3DVertexBuffer7 : IUnknown {};
