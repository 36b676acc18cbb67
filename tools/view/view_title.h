#pragma once
// kvor-view's window title: where the show stands and how fast it plays,
// "kvor-view: part 2/3, frame 1534, scene frame 35, 0:25.57, 60.0 fps",
// then ", paused" and the last reload's problem when there are.

#include <chrono>
#include <deque>
#include <string>

#include "app/show.h"

namespace view {

class ViewTitle {
public:
    // The frame about to be drawn, at that time.
    void frameShown(const ShowPosition& position, std::chrono::steady_clock::time_point when);
    std::string text(const Show& show, bool paused) const;

    std::string problem;  // why the files on disk are not the ones shown

private:
    ShowPosition shown;
    std::deque<std::chrono::steady_clock::time_point> lastSecond;  // the frames drawn in it
};

}  // namespace view
