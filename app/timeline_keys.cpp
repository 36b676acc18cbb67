#include "app/timeline_keys.h"

#include <algorithm>

#include "platform/win32.h"

namespace {

// The start of the last part with frames that begins before frame.
int64_t partStartBefore(const Show& show, int64_t frame) {
    int64_t start = 0;
    for (size_t k = 0; k < show.partCount(); ++k)
        if (show.part(k).frames > 0 && show.partStart(k) < frame) start = show.partStart(k);
    return start;
}

// The start of the first part with frames that begins after frame, or frame.
int64_t partStartAfter(const Show& show, int64_t frame) {
    for (size_t k = 0; k < show.partCount(); ++k)
        if (show.part(k).frames > 0 && show.partStart(k) > frame) return show.partStart(k);
    return frame;
}

}  // namespace

int64_t frameAfterKey(const Show& show, int virtualKey, bool shift) {
    const ShowPosition at = show.position();
    const int64_t now = at.showFrame;
    const int64_t step = shift ? 1 : showFramesPerSecond;
    const int64_t partStart = show.over() ? show.frameCount() : show.partStart(at.part);
    int64_t target = now;
    switch (virtualKey) {
        case VK_LEFT: target = now - step; break;
        case VK_RIGHT: target = now + step; break;
        case VK_PRIOR: target = partStartBefore(show, partStart); break;
        case VK_NEXT: target = partStartAfter(show, now); break;
        case VK_HOME: target = 0; break;
        default: break;
    }
    return std::clamp<int64_t>(target, 0, std::max<int64_t>(show.frameCount() - 1, 0));
}
