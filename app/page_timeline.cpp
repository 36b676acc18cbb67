// The page's timeline over the demo's show, in the web build's kvor: before
// each frame the show takes what the page asked for (a frame from its seek
// bar or its address, keys that move a second or a frame) and jumps there,
// the page's display numbering its frames from there and the page's player
// following. The show's own logic does the jumping, drawing nothing between.
// The page is this program's system: it is called as the engine calls Win32.

#include <algorithm>
#include <memory>
#include <vector>

#include "app/show_timeline.h"
#include "app/timeline_keys.h"

// The page's side (library_display.js); the page's player follows the jumps.
extern "C" {
void kvor_display_parts(const double* starts, int parts);
double kvor_display_shown_frame();
double kvor_display_take_jump();
int kvor_display_take_key();
void kvor_display_jumped(double frame);
}

namespace {

// A key from the page: its virtual-key code, with this bit when Shift is held.
constexpr int shiftBit = 0x10000;

class PageTimeline {
public:
    void operator()(Show& show) {
        if (&show != told) tellParts(show);
        bool moved = false;
        // A frame beyond the show's last shows its last, rather than end it.
        if (const double frame = kvor_display_take_jump(); frame >= 0) {
            show.jumpTo(std::min(static_cast<int64_t>(frame), std::max<int64_t>(show.frameCount() - 1, 0)));
            moved = true;
        }
        for (int key = kvor_display_take_key(); key != 0; key = kvor_display_take_key()) {
            // A key moves from the frame the page shows, not from the one the show draws next.
            if (!moved && kvor_display_shown_frame() >= 0)
                show.jumpTo(static_cast<int64_t>(kvor_display_shown_frame()));
            show.jumpTo(frameAfterKey(show, key & ~shiftBit, (key & shiftBit) != 0));
            moved = true;
        }
        if (moved) kvor_display_jumped(double(show.position().showFrame));
    }

private:
    void tellParts(const Show& show) {
        told = &show;
        std::vector<double> starts;
        for (size_t part = 0; part <= show.partCount(); ++part) starts.push_back(double(show.partStart(part)));
        kvor_display_parts(starts.data(), int(show.partCount()));
    }

    const Show* told = nullptr;  // the show whose parts the page knows
};

// Installed as the program loads: the page is there from the start.
[[maybe_unused]] const bool installed = [] {
    auto timeline = std::make_shared<PageTimeline>();
    setShowTimeline([timeline](Show& show) { (*timeline)(show); });
    return true;
}();

}  // namespace
