#pragma once
// IDirectDrawSurface7: a primary surface, a back buffer, a z-buffer, a texture
// or a plain surface, over a SurfaceStore. Internal to the platform layer.

#include <memory>
#include <vector>

#include "platform/ddraw/com_object.h"

namespace platform {

class SurfaceObject final : public ComObject<IDirectDrawSurface7> {
public:
    SurfaceObject(std::shared_ptr<DisplayContext> context, std::shared_ptr<SurfaceStore> store);

    // The store of a live surface of ours made within context, else null.
    static std::shared_ptr<SurfaceStore> storeOf(IDirectDrawSurface7* surface, const DisplayContext& context);
    // Makes attached part of this surface (a primary's back buffer), taking over one reference.
    void adopt(SurfaceObject* attached);

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override;
    HRESULT WINAPI AddAttachedSurface(LPDIRECTDRAWSURFACE7 attached) override;
    HRESULT WINAPI Flip(LPDIRECTDRAWSURFACE7 targetOverride, DWORD flags) override;
    HRESULT WINAPI GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* attached) override;
    HRESULT WINAPI GetSurfaceDesc(LPDDSURFACEDESC2 description) override;
    HRESULT WINAPI Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD flags, HANDLE event) override;
    HRESULT WINAPI Unlock(LPRECT rect) override;

private:
    void releaseResources() override;
    HRESULT checkAttachment(const SurfaceStore& zBuffer) const;
    bool lockable() const;

    std::shared_ptr<SurfaceStore> store;
    std::vector<SurfaceObject*> attachments;  // each holds one reference
    DWORD lockFlags = 0;
};

}  // namespace platform
