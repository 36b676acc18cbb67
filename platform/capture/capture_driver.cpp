// The frame-capture driver: the OpenGL renderer off screen; every Flip hands
// the back buffer to the capture sink.

#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/ddraw/drivers.h"
#include "platform/gl/egl_context.h"
#include "platform/gl/gl_driver.h"

namespace platform {

namespace {

struct SinkChoice {
    FrameSink sink;
    FrameChoice wanted;
    bool chosen = false;
};

SinkChoice& sinkChoice() {
    static SinkChoice choice;
    return choice;
}

std::optional<EnhancedFrame>& captureFrame() {
    static std::optional<EnhancedFrame> frame;
    return frame;
}

// A program started with KVOR_DRIVER=capture and no sink of its own writes PNGs.
const SinkChoice& currentSink() {
    SinkChoice& choice = sinkChoice();
    if (choice.chosen) return choice;
    const char* driver = std::getenv("KVOR_DRIVER");
    if (driver == nullptr || std::string_view(driver) != "capture") return choice;
    const char* directory = std::getenv("KVOR_CAPTURE_DIRECTORY");
    setCaptureSink(pngFrameSink(directory != nullptr ? directory : "frames"));
    return choice;
}

class CaptureDriver final : public GlDriver {
public:
    explicit CaptureDriver(std::shared_ptr<GlContext> context) : GlDriver(std::move(context)) {
        renderer->enhance(captureFrame());
    }

    std::vector<DisplayMode> displayModes() const override {
        std::vector<DisplayMode> modes;
        for (DWORD bits : {16u, 32u})
            for (auto [width, height] : {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}})
                modes.push_back({width, height, bits, 60});
        return modes;
    }
    DisplayMode desktopMode() const override { return {1024, 768, 32, 60}; }
    HRESULT setCooperativeLevel(HWND, DWORD) override { return DD_OK; }
    HRESULT setDisplayMode(const DisplayMode&) override { return DD_OK; }

    // Off screen there is no retrace to wait for: a flip returns once the
    // frame is finished, and read back only when a sink wants it.
    HRESULT present(const SurfaceStore&, DWORD) override {
        if (!renderer->alive()) return DDERR_SURFACELOST;
        uint32_t index = framesPresented++;
        const SinkChoice& choice = currentSink();
        if (!choice.sink || (choice.wanted && !choice.wanted(index))) {
            renderer->finish();
            return DD_OK;
        }
        choice.sink(CapturedFrame{index, renderer->frameWidth(), renderer->frameHeight(), renderer->readTarget()});
        return DD_OK;
    }

private:
    uint32_t framesPresented = 0;
};

}  // namespace

std::shared_ptr<Driver> makeCaptureDriver() {
    std::shared_ptr<GlContext> context = makeSurfacelessContext();
    if (context == nullptr) return nullptr;
    return std::make_shared<CaptureDriver>(std::move(context));
}

void setCaptureFrame(std::optional<EnhancedFrame> frame) { captureFrame() = frame; }

void setCaptureSink(FrameSink sink, FrameChoice wanted) {
    sinkChoice() = SinkChoice{std::move(sink), std::move(wanted), true};
}

}  // namespace platform
