#pragma once
// One run of the show keeping a range of its frames, the way kvor-capture
// records it alone or in each of its jobs, and what the runs share.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/tool_interface.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/part_record.h"
#include "tools/capture/progress_meter.h"
#include "tools/capture/soundtrack_player.h"
#include "tools/capture/video_encoder.h"

namespace capture {

// The closing fade holds the last frame on screen for three seconds.
constexpr uint32_t fadeFrames = 3 * framesPerSecond;

// One run of the show keeping the frames of range: once its last frame is
// asked for, the show is told to end as a user ends it, by Escape in its
// window, unless that frame is the show's own last.
struct ShowRun {
    FrameRange range;
    uint32_t showFrames;  // 0: unknown

    bool reachesEnd() const { return showFrames == 0 || range.last >= showFrames - 1; }
    // The frames the show goes through: up to the range's last; 0 when unknown.
    uint32_t framesShown() const { return showFrames == 0 ? 0 : std::min(range.last, showFrames - 1) + 1; }
    uint32_t framesKept() const { return framesShown() > range.first ? framesShown() - range.first : 0; }
    platform::FrameChoice choice() const;
    // What the video of this run says of itself: frames is the video's count.
    PartRecord record(const CaptureOptions& options, uint32_t frames, std::vector<TimedCommand> commands) const;
};

// A folder of files made on the way, removed with everything in it when done.
struct WorkFolder {
    std::filesystem::path path;
    explicit WorkFolder(std::filesystem::path where) : path(std::move(where)) {
        std::filesystem::create_directories(path);
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
};

// Where a capture's work files go: beside the video, or in the PNG folder.
std::filesystem::path workPlace(const CaptureOptions& options);

// The frames of run, to PNG files or to the video part file. Returns the
// frames written; commands gets the player's commands.
uint32_t recordRun(const CaptureOptions& options, const ShowRun& run, const std::filesystem::path& videoPart,
                   ProgressMeter& meter, std::vector<TimedCommand>& commands);

// The video parts joined into output, with record in its metadata and the
// soundtrack record's commands make of its frames, through files in work.
void finishVideo(const std::vector<VideoPiece>& parts, const WorkFolder& work, const PartRecord& record,
                 const std::filesystem::path& output);

}  // namespace capture
