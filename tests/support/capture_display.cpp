#include "tests/support/capture_display.h"

#include <cstdlib>

#include "base/display_state.h"
#include "base/process_state.h"
#include "tests/support/null_display.h"

namespace testing_support {

bool CaptureDisplay::available() {
    IDirectDraw7* display = nullptr;
    if (FAILED(DirectDrawCreateEx(const_cast<GUID*>(&platform::captureDriverGuid()), reinterpret_cast<void**>(&display),
                                  IID_IDirectDraw7, nullptr)))
        return false;
    display->Release();
    return true;
}

CaptureDisplay::CaptureDisplay() {
    platform::setCaptureSink([this](const platform::CapturedFrame& frame) { frames.push_back(frame); });
    requestDisplay(&platform::captureDriverGuid());
    renderer.setUp();
    renderer.setDefaultRenderStates();
}

CaptureDisplay::~CaptureDisplay() {
    releaseDisplay();
    platform::setCaptureSink({});
}

const platform::CapturedFrame& CaptureDisplay::frame(const std::function<void(IDirect3DDevice7&)>& draw) {
    renderer.clear();
    renderer.beginScene();
    draw(*device);
    renderer.endScene();
    renderer.flip();
    return frames.back();
}

Rgb pixelAt(const platform::CapturedFrame& frame, int x, int y) {
    const uint8_t* pixel = &frame.rgb[(size_t(y) * frame.width + x) * 3];
    return Rgb{pixel[0], pixel[1], pixel[2]};
}

bool near(Rgb actual, Rgb expected, int tolerance) {
    return std::abs(actual.red - expected.red) <= tolerance && std::abs(actual.green - expected.green) <= tolerance &&
           std::abs(actual.blue - expected.blue) <= tolerance;
}

}  // namespace testing_support
