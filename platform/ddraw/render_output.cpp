#include "platform/ddraw/render_output.h"

#include <algorithm>
#include <cmath>

namespace platform {

OutputRect letterBox(uint32_t areaWidth, uint32_t areaHeight, uint32_t width, uint32_t height) {
    OutputRect shown{0, 0, int32_t(areaWidth), int32_t(areaHeight)};
    if (width == 0 || height == 0) return shown;
    const double scale = std::min(double(areaWidth) / width, double(areaHeight) / height);
    shown.width = int32_t(std::lround(width * scale));
    shown.height = int32_t(std::lround(height * scale));
    shown.x = (int32_t(areaWidth) - shown.width) / 2;
    shown.y = (int32_t(areaHeight) - shown.height) / 2;
    return shown;
}

RenderOutput RenderOutput::authentic(uint32_t width, uint32_t height) {
    return {width, height, width, height, {0, 0, int32_t(width), int32_t(height)}};
}

RenderOutput RenderOutput::enhanced(uint32_t width, uint32_t height, const EnhancedFrame& frame) {
    RenderOutput output{width, height, frame.width, frame.height, {0, 0, int32_t(frame.width), int32_t(frame.height)}};
    if (!frame.stretch) output.picture = letterBox(frame.width, frame.height, width, height);
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
