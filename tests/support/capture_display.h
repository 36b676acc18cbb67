#pragma once
// A Renderer set up on the capture driver for a test's scope (640 x 480 x 16,
// default render states), with every presented frame kept.

#include <functional>
#include <vector>

#include "platform/tool_interface.h"
#include "render/renderer.h"

namespace testing_support {

struct Rgb {
    int red, green, blue;
};

// The tolerance of a channel of a 16-bit frame: one RGB565 step is 8 for red
// and blue, and a channel may land one step away.
constexpr int quantised = 9;

class CaptureDisplay {
public:
    // Whether an off-screen OpenGL context can be had here at all.
    static bool available();

    CaptureDisplay();
    ~CaptureDisplay();
    CaptureDisplay(const CaptureDisplay&) = delete;
    CaptureDisplay& operator=(const CaptureDisplay&) = delete;

    // One whole frame: clear, begin, draw, end, flip; the frame presented.
    const platform::CapturedFrame& frame(const std::function<void(IDirect3DDevice7&)>& draw);

    Renderer renderer;

private:
    std::vector<platform::CapturedFrame> frames;
};

Rgb pixelAt(const platform::CapturedFrame& frame, int x, int y);
// Whether each channel is within tolerance of the expected one.
bool near(Rgb actual, Rgb expected, int tolerance);

}  // namespace testing_support
