#include "platform/gl/gl_driver.h"

#include "platform/ddraw/pixel_formats.h"
#include "platform/gl/gl_textures.h"

namespace platform {

namespace {

class GlDevice final : public DeviceBackend {
public:
    explicit GlDevice(std::shared_ptr<GlRenderer> renderer) : renderer(std::move(renderer)) {}

    void clear(const DeviceState& state, std::span<const D3DRECT> rects, DWORD flags, D3DCOLOR colour,
               float z) override {
        renderer->clear(state, rects, flags, colour, z);
    }
    void draw(const DeviceState& state, const DrawRequest& request) override { renderer->draw(state, request); }
    void fogChanged(const DeviceState& state) override { renderer->prepareFog(state); }

private:
    std::shared_ptr<GlRenderer> renderer;
};

}  // namespace

GlDriver::GlDriver(std::shared_ptr<GlContext> context)
    : renderer(std::make_shared<GlRenderer>(std::move(context))),
      textureLimit(static_cast<DWORD>(renderer->maximumTextureSize())) {}

std::vector<DDPIXELFORMAT> GlDriver::textureFormats() const { return glTextureFormats(); }

void GlDriver::textureWritten(const std::shared_ptr<SurfaceStore>& store) { renderer->prepareTexture(store); }

std::vector<DDPIXELFORMAT> GlDriver::zBufferFormats() const { return {zBufferFormat(16)}; }

HRESULT GlDriver::createFlipChain(DWORD width, DWORD height) {
    if (!renderer->alive()) return DDERR_SURFACELOST;
    renderer->createTarget(width, height);
    return DD_OK;
}

bool GlDriver::rendersInto(const SurfaceStore& target) const {
    return (target.caps() & DDSCAPS_BACKBUFFER) && renderer->targetWidth() == target.description.dwWidth &&
           renderer->targetHeight() == target.description.dwHeight;
}

std::shared_ptr<DeviceBackend> GlDriver::createDevice(const DeviceState&) {
    return std::make_shared<GlDevice>(renderer);
}

}  // namespace platform
