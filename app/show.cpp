#include "app/show.h"

#include <algorithm>

#include "overlay/overlay.h"
#include "platform/win32.h"
#include "render/renderer.h"
#include "render/scene_frame.h"
#include "scene/scene.h"

namespace {

// The rendering window never validates its paint region, so a WM_PAINT is
// always waiting and this never blocks.
void takeOneMessage() {
    MSG message;
    GetMessageA(&message, nullptr, 0, 0);
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void drawPart(const ShowPart& part, int32_t i) {
    drawSceneFrame(*part.scene);
    for (Overlay* overlay : part.overlays) overlay->draw(i);
}

}  // namespace

Show::Show(std::vector<ShowPart> playedParts) : parts(std::move(playedParts)) {
    for (const ShowPart& part : parts) partStarts.push_back(partStarts.back() + std::max<int64_t>(part.frames, 0));
    jumpTo(0);
}

ShowPosition Show::position() const {
    ShowPosition at = current;
    if (!over()) at.sceneFrame = sceneFrameToDraw(*parts[at.part].scene);
    return at;
}

// Parts with no frames are passed over, as the demo passes them.
void Show::enterPart(size_t part) {
    while (part < parts.size() && parts[part].frames <= 0) ++part;
    current.part = part;
    current.partFrame = 0;
    if (part < parts.size()) parts[part].scene->currentFrame = parts[part].sceneStartFrame;
}

void Show::jumpTo(int64_t showFrame) {
    showFrame = std::clamp<int64_t>(showFrame, 0, frameCount());
    const auto after = std::upper_bound(partStarts.begin(), partStarts.end(), showFrame);
    enterPart(static_cast<size_t>(after - partStarts.begin()) - 1);
    current.showFrame = showFrame;
    if (over()) return;
    current.partFrame = static_cast<int32_t>(showFrame - partStarts[current.part]);
    Scene& scene = *parts[current.part].scene;
    scene.currentFrame = sceneFrameAfter(scene, current.partFrame);
}

void Show::playFrame(Renderer& renderer) {
    if (over()) return;
    const ShowPart& part = parts[current.part];
    takeOneMessage();
    if (part.clearsFirst) renderer.clear();
    renderer.beginScene();
    drawPart(part, current.partFrame);
    renderer.endScene();
    renderer.flip();
    if (!part.clearsFirst) renderer.clear();
    ++current.showFrame;
    if (++current.partFrame >= part.frames) enterPart(current.part + 1);
}
