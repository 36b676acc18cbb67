#pragma once
// What the display and capture drivers share: the OpenGL renderer, its
// texture and z-buffer formats, the flip chain and the device.
// Internal to the platform layer.

#include <memory>

#include "platform/gl/gl_renderer.h"

namespace platform {

class GlDriver : public Driver {
public:
    explicit GlDriver(std::shared_ptr<GlContext> context);

    std::vector<DDPIXELFORMAT> textureFormats() const override;
    // The back buffer's depth is 16 bits: that is the one z-buffer there is.
    std::vector<DDPIXELFORMAT> zBufferFormats() const override;
    HRESULT createFlipChain(DWORD width, DWORD height) override;
    std::shared_ptr<DeviceBackend> createDevice(const DeviceState& state) override;
    // Uploaded at once: a program writes its textures while it loads.
    void textureWritten(const std::shared_ptr<SurfaceStore>& store) override;
    // Only the flip chain's back buffer: the renderer draws into its framebuffer alone.
    bool rendersInto(const SurfaceStore& target) const override;
    DWORD maximumTextureSize() const override { return textureLimit; }
    void shutDown() override { renderer->shutDown(); }

protected:
    std::shared_ptr<GlRenderer> renderer;

private:
    DWORD textureLimit;
};

}  // namespace platform
