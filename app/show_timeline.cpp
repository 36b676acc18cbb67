#include "app/show_timeline.h"

namespace {

ShowTimeline& installed() {
    static ShowTimeline timeline;
    return timeline;
}

}  // namespace

void setShowTimeline(ShowTimeline timeline) { installed() = std::move(timeline); }

const ShowTimeline& showTimeline() { return installed(); }
