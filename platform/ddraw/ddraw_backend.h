#pragma once
// The contract between the DirectDraw / Direct3D objects and the drivers that
// carry them. The objects check arguments, keep state and answer with the real
// API's codes; a driver only says what it offers and does the drawing.
// Internal to the platform layer.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/layer.h"

namespace platform {

struct DisplayMode {
    DWORD width;
    DWORD height;
    DWORD bitsPerPixel;
    DWORD refreshRate;  // Hz, 0 when unknown
};

// What a driver keeps for a surface besides its memory: a texture, a frame buffer.
class SurfaceResource {
public:
    virtual ~SurfaceResource() = default;
};

// One surface's pixels and description, shared by its COM object and by the
// device that draws with it or into it, so either may go first.
struct SurfaceStore {
    DDSURFACEDESC2 description{};  // as created: caps, size, pitch and pixel format filled in
    std::vector<uint8_t> pixels;   // dwHeight rows of lPitch bytes
    bool locked = false;
    uint64_t revision = 0;                  // grows whenever an Unlock may have changed the pixels
    std::shared_ptr<SurfaceStore> zBuffer;  // attached to a render target
    std::shared_ptr<SurfaceResource> resource;

    DWORD caps() const { return description.ddsCaps.dwCaps; }
};

// Everything the fixed-function pipeline reads when it draws, with the
// defaults a new Direct3D 7 device starts with.
struct DeviceState {
    DeviceState();

    std::array<DWORD, D3D_MAXRENDERSTATES> renderStates{};
    std::array<std::array<DWORD, D3D_MAXTEXTURESTAGESTATES>, D3DDP_MAXTEXCOORD> stageStates{};
    std::array<std::shared_ptr<SurfaceStore>, D3DDP_MAXTEXCOORD> textures;
    D3DMATRIX world{}, view{}, projection{};
    D3DMATERIAL7 material{};
    D3DVIEWPORT7 viewport{};
    std::shared_ptr<SurfaceStore> renderTarget;
    std::shared_ptr<SurfaceStore> depthBuffer;  // the target's z-buffer when the target was set

    float renderStateFloat(D3DRENDERSTATETYPE state) const;
};

struct DrawRequest {
    D3DPRIMITIVETYPE type;
    DWORD vertexFormat;  // a valid FVF with a position
    const uint8_t* vertices;
    DWORD vertexCount;
    const WORD* indices;  // null for a non-indexed draw
    DWORD indexCount;
};

// Draws for one device.
class DeviceBackend {
public:
    virtual ~DeviceBackend() = default;
    // rects are already clipped to the viewport and never empty.
    virtual void clear(const DeviceState& state, std::span<const D3DRECT> rects, DWORD flags, D3DCOLOR colour,
                       float z) = 0;
    virtual void draw(const DeviceState& state, const DrawRequest& request) = 0;
    // The fog changed: a scene sets it as it loads, so a backend may make
    // ready now what the draws under the new fog will need.
    virtual void fogChanged(const DeviceState&) {}
};

// One DirectDraw object's driver.
class Driver {
public:
    virtual ~Driver() = default;

    virtual std::vector<DisplayMode> displayModes() const = 0;
    virtual std::vector<DDPIXELFORMAT> textureFormats() const = 0;
    virtual std::vector<DDPIXELFORMAT> zBufferFormats() const = 0;
    // The mode the display shows before SetDisplayMode.
    virtual DisplayMode desktopMode() const = 0;

    virtual HRESULT setCooperativeLevel(HWND window, DWORD flags) = 0;
    // mode is one of displayModes().
    virtual HRESULT setDisplayMode(const DisplayMode& mode) = 0;
    // The primary surface of a flipping chain has been created at this size.
    virtual HRESULT createFlipChain(DWORD width, DWORD height) = 0;
    virtual std::shared_ptr<DeviceBackend> createDevice(const DeviceState& state) = 0;
    // Whether a device can draw into target, a surface made for 3D rendering.
    virtual bool rendersInto(const SurfaceStore&) const { return true; }
    // A texture's pixels were written and unlocked, as a program does while it
    // loads: a driver may take them to the GPU now rather than at the first draw.
    virtual void textureWritten(const std::shared_ptr<SurfaceStore>&) {}
    // Shows what was drawn into the back buffer.
    virtual HRESULT present(const SurfaceStore& backBuffer, DWORD flags) = 0;
    // The biggest texture side the driver takes.
    virtual DWORD maximumTextureSize() const { return 16384; }
    // Rows of surface memory start at multiples of this many bytes.
    virtual DWORD pitchAlignment() const { return 8; }
    // Whether the primary, back buffer and z-buffer live in memory that Lock
    // can hand out (else only the renderer has them).
    virtual bool lockableRenderTargets() const { return false; }
    // The DirectDraw object is gone: give the display back.
    virtual void shutDown() {}
};

}  // namespace platform
