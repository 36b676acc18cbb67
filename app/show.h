#pragma once
// The show as a list of parts, each a scene under its overlays for a number of
// frames, and where it stands. Everything a frame depends on (the part, the
// part's frame index, the scene's frame) follows from the show's frame number,
// so the show can be put at any frame without drawing the frames before it.

#include <cstddef>
#include <cstdint>
#include <vector>

class Overlay;
class Renderer;
class Scene;

struct ShowPart {
    Scene* scene = nullptr;
    int32_t sceneStartFrame = 0;     // the scene's currentFrame as the part begins
    int64_t frames = 0;              // the frames the part plays; none when 0 or less
    std::vector<Overlay*> overlays;  // drawn over the scene in this order, at the part's frame index
    // Clears the back buffer before drawing rather than after the flip.
    bool clearsFirst = false;
};

struct ShowPosition {
    size_t part = 0;         // partCount() once the show is over
    int32_t partFrame = 0;   // the part's frame index, from 0
    int32_t sceneFrame = 0;  // the scene's frame drawn next
    int64_t showFrame = 0;   // the frames of the show before this one
};

class Show {
public:
    Show() = default;
    // At the show's first frame.
    explicit Show(std::vector<ShowPart> parts);

    size_t partCount() const { return parts.size(); }
    const ShowPart& part(size_t index) const { return parts[index]; }
    // The frames of all parts together.
    int64_t frameCount() const { return partStarts.empty() ? 0 : partStarts.back(); }
    // The show's frame a part begins on; partStart(partCount()) is frameCount().
    int64_t partStart(size_t part) const { return partStarts[part]; }
    bool over() const { return current.part >= parts.size(); }
    ShowPosition position() const;

    // Puts the show at showFrame (held within 0 to frameCount(), which is the
    // end) and its part's scene at the frame it would have reached; draws
    // nothing and takes the same time wherever it lands.
    void jumpTo(int64_t showFrame);
    // One frame of the show as the demo plays it: one window message, the
    // scene's frame and the part's overlays drawn and flipped; then the next
    // frame. Does nothing once the show is over.
    void playFrame(Renderer& renderer);

private:
    void enterPart(size_t part);

    std::vector<ShowPart> parts;
    std::vector<int64_t> partStarts{0};
    ShowPosition current;
};
