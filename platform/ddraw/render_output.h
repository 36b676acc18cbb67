#pragma once
// Where the engine's picture lands in the frame the renderer draws. The
// engine always sees its own surface size (640 x 480); the authentic output
// is a frame of exactly that size, the enhanced one a frame of any size with
// the picture scaled into it, letter-boxed to the picture's proportions or
// stretched over the whole frame. Internal to the platform layer.

#include <cstdint>

namespace platform {

// A rectangle in output pixels with y up from the bottom (GL's convention).
struct OutputRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// The largest rectangle of the picture's proportions (width x height) centred
// in an area of areaWidth x areaHeight pixels, its size rounded to the nearest
// pixel; the whole area for a picture of no size. The same bars lie above and
// below (or left and right) whichever way y runs, within a pixel.
OutputRect letterBox(uint32_t areaWidth, uint32_t areaHeight, uint32_t width, uint32_t height);

// The enhanced frame a driver asks for: its size, and whether the picture
// fills it whatever its proportions.
struct EnhancedFrame {
    uint32_t width = 0, height = 0;
    bool stretch = false;
};

struct RenderOutput {
    uint32_t pictureWidth = 0, pictureHeight = 0;  // the engine's surface size
    uint32_t frameWidth = 0, frameHeight = 0;      // the frame drawn
    OutputRect picture;                            // the picture inside the frame

    // The frame is the picture, pixel for pixel.
    static RenderOutput authentic(uint32_t width, uint32_t height);
    static RenderOutput enhanced(uint32_t width, uint32_t height, const EnhancedFrame& frame);

    bool scaled() const { return frameWidth != pictureWidth || frameHeight != pictureHeight; }
    // A rectangle of the picture (y down from its top, in engine pixels) in the frame.
    OutputRect map(int32_t x, int32_t y, int32_t width, int32_t height) const;
};

}  // namespace platform
