#include "platform/ddraw/render_output.h"

#include <algorithm>
#include <cmath>

namespace platform {

RenderOutput RenderOutput::authentic(uint32_t width, uint32_t height) {
    return {width, height, width, height, {0, 0, int32_t(width), int32_t(height)}};
}

RenderOutput RenderOutput::enhanced(uint32_t width, uint32_t height, const EnhancedFrame& frame) {
    RenderOutput output{width, height, frame.width, frame.height, {0, 0, int32_t(frame.width), int32_t(frame.height)}};
    if (frame.stretch || width == 0 || height == 0) return output;
    // The largest rectangle of the picture's proportions, centred.
    const double scale = std::min(double(frame.width) / width, double(frame.height) / height);
    output.picture.width = int32_t(std::lround(width * scale));
    output.picture.height = int32_t(std::lround(height * scale));
    output.picture.x = (int32_t(frame.width) - output.picture.width) / 2;
    output.picture.y = (int32_t(frame.height) - output.picture.height) / 2;
    return output;
}

OutputRect RenderOutput::map(int32_t x, int32_t y, int32_t width, int32_t height) const {
    const auto along = [](int32_t value, int32_t extent, uint32_t from) {
        return int32_t(std::lround(double(value) * extent / from));
    };
    const int32_t left = along(x, picture.width, pictureWidth), right = along(x + width, picture.width, pictureWidth);
    const int32_t top = along(y, picture.height, pictureHeight),
                  bottom = along(y + height, picture.height, pictureHeight);
    return {picture.x + left, picture.y + picture.height - bottom, right - left, bottom - top};
}

}  // namespace platform
