// The null driver: lists set by its user, surfaces in memory, no drawing; its
// watch records every call made on its objects and gives the failures asked for.

#include <string>

#include "platform/ddraw/call_watch.h"
#include "platform/ddraw/drivers.h"
#include "platform/ddraw/pixel_formats.h"
#include "platform/null/null_driver_settings.h"

namespace platform {

namespace {

struct NullDriverState {
    NullDriverSettings settings = defaultNullDriverSettings();
    std::vector<RecordedCall> calls;
};

NullDriverState& nullState() {
    static NullDriverState state;
    return state;
}

class NullDeviceBackend final : public DeviceBackend {
public:
    void clear(const DeviceState&, std::span<const D3DRECT>, DWORD, D3DCOLOR, float) override {}
    void draw(const DeviceState&, const DrawRequest&) override {}
};

class NullDriver final : public Driver {
public:
    explicit NullDriver(NullDriverSettings settings) : settings(std::move(settings)) {}

    std::vector<DisplayMode> displayModes() const override {
        std::vector<DisplayMode> modes;
        for (const DisplayModeSetting& mode : settings.displayModes)
            modes.push_back({mode.width, mode.height, mode.bitsPerPixel, 0});
        return modes;
    }
    std::vector<DDPIXELFORMAT> textureFormats() const override { return settings.textureFormats; }
    std::vector<DDPIXELFORMAT> zBufferFormats() const override { return settings.zBufferFormats; }
    DisplayMode desktopMode() const override { return {1024, 768, 32, 0}; }

    HRESULT setCooperativeLevel(HWND, DWORD) override { return DD_OK; }
    HRESULT setDisplayMode(const DisplayMode&) override { return DD_OK; }
    HRESULT createFlipChain(DWORD, DWORD) override { return DD_OK; }
    std::shared_ptr<DeviceBackend> createDevice(const DeviceState&) override {
        return std::make_shared<NullDeviceBackend>();
    }
    HRESULT present(const SurfaceStore&, DWORD) override { return DD_OK; }

    DWORD pitchAlignment() const override { return settings.pitchAlignment; }
    bool lockableRenderTargets() const override { return true; }

private:
    NullDriverSettings settings;
};

class NullCallWatch final : public CallWatch {
public:
    explicit NullCallWatch(NullDriverSettings settings) : settings(std::move(settings)) {}

    void record(RecordedCall&& call) override { nullState().calls.push_back(std::move(call)); }
    bool keepsDrawnVertices() const override { return settings.recordDrawnVertices; }
    std::optional<HRESULT> injectedFailure(std::string_view method) const override {
        auto found = settings.failures.find(method);
        if (found == settings.failures.end()) return std::nullopt;
        return found->second;
    }

private:
    NullDriverSettings settings;
};

}  // namespace

std::shared_ptr<Driver> makeNullDriver() { return std::make_shared<NullDriver>(nullState().settings); }

std::shared_ptr<CallWatch> makeNullCallWatch() { return std::make_shared<NullCallWatch>(nullState().settings); }

NullDriverSettings defaultNullDriverSettings() {
    NullDriverSettings settings;
    for (DWORD bits : {16u, 32u})
        for (auto [width, height] : {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}})
            settings.displayModes.push_back({width, height, bits});
    settings.textureFormats = {rgb565Format(), rgb555Format(), argb4444Format(), argb1555Format(), argb8888Format()};
    settings.zBufferFormats = {zBufferFormat(16), zBufferFormat(24), zBufferFormat(32)};
    return settings;
}

NullDriverSettings& nullDriverSettings() { return nullState().settings; }

const std::vector<RecordedCall>& nullDriverCalls() { return nullState().calls; }

void clearNullDriverCalls() { nullState().calls.clear(); }

std::string RecordedCall::text() const {
    std::string line = std::string(interfaceName) + "::" + std::string(method) + "(";
    for (size_t index = 0; index < arguments.size(); ++index) {
        if (index > 0) line += ", ";
        line += std::to_string(arguments[index]);
    }
    return line + ")";
}

}  // namespace platform
