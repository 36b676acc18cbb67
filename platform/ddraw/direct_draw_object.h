#pragma once
// IDirectDraw7 over one driver. Internal to the platform layer.

#include <memory>

#include "platform/ddraw/com_object.h"

namespace platform {

class DirectDrawObject final : public ComObject<IDirectDraw7> {
public:
    DirectDrawObject(std::shared_ptr<Driver> driver, std::shared_ptr<CallWatch> watch);

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override;
    HRESULT WINAPI CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE7* surface, IUnknown* outer) override;
    HRESULT WINAPI EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 match, LPVOID context,
                                    LPDDENUMMODESCALLBACK2 callback) override;
    HRESULT WINAPI SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT WINAPI SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                  DWORD flags) override;

private:
    void releaseResources() override;
};

}  // namespace platform
