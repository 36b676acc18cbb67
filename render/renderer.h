#pragma once
// The program's only display: the rendering window, DirectDraw in exclusive
// full-screen mode, a flipping primary with one back buffer, a 16-bit z-buffer,
// the hardware Direct3D device and the two texture pixel formats; then the
// frame cycle and the render states.

#include <cstdint>

#include "platform/directx.h"
#include "platform/win32.h"

class Scene;

class Renderer {
public:
    // Empties the DirectDraw object, the device and the window handle.
    Renderer();
    virtual ~Renderer() = default;  // releases nothing: the demo's teardown does
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Brings the display up, logging each step; a failing step is a fatal stop.
    HRESULT setUp();
    // A managed texture surface in format, on the process-wide DirectDraw
    // object; a failure is a fatal stop ("create surface").
    static IDirectDrawSurface7* createTextureSurface(DDPIXELFORMAT format, DWORD height, DWORD width);

    // The frame cycle: results are not looked at.
    void clear();
    void beginScene();
    void endScene();
    void flip();

    // Once, after every scene is loaded.
    void setDefaultRenderStates();
    // S_OK, or E_INVALIDARG with matrix untouched when far is too close to near
    // or the field of view (radians) too close to 0.
    static HRESULT buildProjectionMatrix(D3DMATRIX& matrix, float fieldOfView, float aspect, float nearPlane,
                                         float farPlane);
    // Ambient, fog and projection of a scene being loaded, on the process-wide device.
    static void applySceneRenderStates(Scene& scene);

    int32_t framesPresented = 0;
    HINSTANCE instance = nullptr;
    IDirect3D7* direct3D = nullptr;
    IDirectDrawSurface7* primarySurface = nullptr;
    IDirectDrawSurface7* backBuffer = nullptr;
    IDirectDrawSurface7* zBuffer = nullptr;
    D3DRECT clearRect = {};

private:
    HRESULT createSurfaces();
    HRESULT createDevice();
    void createZBuffer();
    HRESULT createVertexBuffer();
};
