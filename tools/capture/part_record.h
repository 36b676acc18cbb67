#pragma once
// What a video made by kvor-capture says of itself, in its container's
// metadata, so that videos of consecutive ranges made apart (other processes,
// other machines) can be joined with one soundtrack over the whole span.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ddraw/render_output.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/soundtrack_player.h"

namespace capture {

// The metadata key that holds the record.
inline constexpr const char* partTagName = "kvor_part";

struct PartRecord {
    FrameRange range;         // the show's frames drawn, from 0
    uint32_t showFrames = 0;  // the whole show's, as its data folder said
    uint32_t width = 640, height = 480;
    std::string look = "primary";        // "primary", "enhanced" or "stretched"
    uint32_t frames = 0;                 // the video's: the range's, and the fade's when it reaches the show's end
    std::vector<TimedCommand> commands;  // the player's, from the show's start, in show time

    // Same show, same picture: the parts of one capture.
    bool sameCapture(const PartRecord& other) const {
        return showFrames == other.showFrames && width == other.width && height == other.height && look == other.look;
    }
};

// The picture's size and look: the primary 640 x 480, or the enhanced frame.
void setPicture(PartRecord& record, const std::optional<platform::EnhancedFrame>& enhanced);

// One line of "name=value" words, readable by people too.
std::string partTag(const PartRecord& record);
// Nothing when text is not a whole record of this kind.
std::optional<PartRecord> parsePartTag(const std::string& text);

}  // namespace capture
