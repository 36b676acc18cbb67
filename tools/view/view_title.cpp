#include "tools/view/view_title.h"

#include <cstdio>

#include "app/timeline_keys.h"

namespace view {

void ViewTitle::frameShown(const ShowPosition& position, std::chrono::steady_clock::time_point when) {
    shown = position;
    lastSecond.push_back(when);
    while (when - lastSecond.front() > std::chrono::seconds(1)) lastSecond.pop_front();
}

std::string ViewTitle::text(const Show& show, bool paused) const {
    const double seconds = static_cast<double>(shown.showFrame) / showFramesPerSecond;
    const auto minutes = static_cast<int>(seconds / 60);
    const double fps = lastSecond.size() < 2 ? 0.0
                                             : static_cast<double>(lastSecond.size() - 1) /
                                                   std::chrono::duration<double>(lastSecond.back() - lastSecond.front()).count();
    char text[160];
    std::snprintf(text, sizeof text, "kvor-view: part %zu/%zu, frame %lld, scene frame %d, %d:%05.2f, %.1f fps",
                  std::min(shown.part + 1, show.partCount()), show.partCount(),
                  static_cast<long long>(shown.showFrame), shown.sceneFrame, minutes, seconds - 60.0 * minutes, fps);
    std::string title = text;
    if (paused) title += ", paused";
    if (!problem.empty()) title += " | " + problem;
    return title;
}

}  // namespace view
