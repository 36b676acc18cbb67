// The frame-capture driver: the OpenGL renderer off screen; every Flip hands
// the back buffer to the capture sink.

#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/ddraw/drivers.h"
#include "platform/desktop/egl_context.h"
#include "platform/gl/gl_driver.h"
#include "platform/gl/gl_frame_reader.h"
#include "platform/tool_interface.h"

namespace platform {

namespace {

struct SinkChoice {
    CaptureSink sink;
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
const CaptureSink& currentSink() {
    SinkChoice& choice = sinkChoice();
    if (choice.chosen) return choice.sink;
    if (environmentDriver() != DriverKind::capture) return choice.sink;
    const char* directory = std::getenv("KVOR_CAPTURE_DIRECTORY");
    setCaptureSink(pngFrameSink(directory != nullptr ? directory : "frames"));
    return choice.sink;
}

// The frame being drawn: its index and, once asked, whether it is kept.
class FrameGate {
public:
    bool kept() {
        if (!decided) {
            const CaptureSink& sink = currentSink();
            keep = !sink.wanted || sink.wanted(index);
            decided = true;
        }
        return keep;
    }
    // The frame is flipped: its index; the next frame is undecided.
    uint32_t flip() {
        kept();
        decided = false;
        return index++;
    }

private:
    uint32_t index = 0;
    bool decided = false, keep = true;
};

// The drawing of frames nobody keeps costs nothing.
class GatedDevice final : public DeviceBackend {
public:
    GatedDevice(std::shared_ptr<DeviceBackend> device, std::shared_ptr<FrameGate> gate)
        : device(std::move(device)), gate(std::move(gate)) {}

    void clear(const DeviceState& state, std::span<const D3DRECT> rects, DWORD flags, D3DCOLOR colour,
               float z) override {
        if (gate->kept()) device->clear(state, rects, flags, colour, z);
    }
    void draw(const DeviceState& state, const DrawRequest& request) override {
        if (gate->kept()) device->draw(state, request);
    }
    void fogChanged(const DeviceState& state) override { device->fogChanged(state); }

private:
    std::shared_ptr<DeviceBackend> device;
    std::shared_ptr<FrameGate> gate;
};

class CaptureDriver final : public GlDriver {
public:
    explicit CaptureDriver(std::shared_ptr<GlContext> context) : GlDriver(std::move(context)), reader(renderer) {
        renderer->enhance(captureFrame());
    }
    ~CaptureDriver() override { shutDown(); }

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
    std::shared_ptr<DeviceBackend> createDevice(const DeviceState& state) override {
        return std::make_shared<GatedDevice>(GlDriver::createDevice(state), gate);
    }

    // Off screen there is no retrace to wait for: a flip returns once the
    // frame is finished, and read back only when a sink keeps it.
    HRESULT present(const SurfaceStore&, DWORD) override {
        if (!renderer->alive()) return DDERR_SURFACELOST;
        const bool kept = gate->kept();
        const uint32_t index = gate->flip();
        const CaptureSink& sink = currentSink();
        if (sink.flipped) sink.flipped(index);
        if (!sink.frames) {
            renderer->finish();
        } else if (kept && sink.overlapped) {
            // This frame's read is queued before the last one is waited for.
            reader.start(index);
            if (reader.pending() > 1) handOver(sink);
        } else if (kept) {
            sink.frames(CapturedFrame{index, renderer->frameWidth(), renderer->frameHeight(), renderer->readTarget()});
        }
        return DD_OK;
    }

    // The frames still being read back are handed over before the context goes.
    void shutDown() override {
        const CaptureSink& sink = currentSink();
        while (sink.frames && renderer->alive() && handOver(sink)) {
        }
        reader.shutDown();
        GlDriver::shutDown();
    }

private:
    bool handOver(const CaptureSink& sink) {
        std::optional<CapturedFrame> frame = reader.collect();
        if (frame) sink.frames(std::move(*frame));
        return frame.has_value();
    }

    std::shared_ptr<FrameGate> gate = std::make_shared<FrameGate>();
    GlFrameReader reader;
};

}  // namespace

std::shared_ptr<Driver> makeCaptureDriver() {
    std::shared_ptr<GlContext> context = makeSurfacelessContext();
    if (context == nullptr) return nullptr;
    return std::make_shared<CaptureDriver>(std::move(context));
}

void setCaptureFrame(std::optional<EnhancedFrame> frame) { captureFrame() = frame; }

void setFrameCapture(CaptureSink capture) { sinkChoice() = SinkChoice{std::move(capture), true}; }

void setCaptureSink(FrameSink sink, FrameChoice wanted) {
    setFrameCapture(CaptureSink{std::move(sink), std::move(wanted), {}, false});
}

}  // namespace platform
