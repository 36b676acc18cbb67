#include "app/demo_driver.h"

#include <array>
#include <memory>

#include "app/music_player.h"
#include "app/title_overlays.h"
#include "base/display_request.h"
#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "render/renderer.h"
#include "render/scene_frame.h"
#include "scene/scene.h"

namespace {

constexpr int32_t partOneFrames = 1500;
constexpr int32_t partThreeFramesBeforeLast = 5;

// The rendering window never validates its paint region, so a WM_PAINT is
// always waiting and this never blocks.
void takeOneMessage() {
    MSG message;
    GetMessageA(&message, nullptr, 0, 0);
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

struct Part {
    Scene& scene;
    std::array<Overlay*, 3> overlays;  // drawn in this order over the scene
};

void drawPart(const Part& part, int32_t i) {
    drawSceneFrame(part.scene);
    for (Overlay* overlay : part.overlays) overlay->draw(i);
}

// Parts one and two: the back buffer is cleared after the flip.
void frameStep(Renderer& renderer, const Part& part, int32_t i) {
    takeOneMessage();
    renderer.beginScene();
    drawPart(part, i);
    renderer.endScene();
    renderer.flip();
    renderer.clear();
}

// Part three clears before it begins, and nothing follows the flip.
void partThreeFrameStep(Renderer& renderer, const Part& part, int32_t i) {
    takeOneMessage();
    renderer.clear();
    renderer.beginScene();
    drawPart(part, i);
    renderer.endScene();
    renderer.flip();
}

// Each part ends early, after its frame, once the rendering window is gone.
void playPartOne(Renderer& renderer, const Part& part) {
    for (int32_t i = 0; demoRunning && i < partOneFrames; ++i) frameStep(renderer, part, i);
}

// The scene's frame count is read again before every frame.
void playPartTwo(Renderer& renderer, const Part& part) {
    for (int32_t i = 0; demoRunning && i < part.scene.frameCount; ++i) frameStep(renderer, part, i);
}

void playPartThree(Renderer& renderer, const Part& part) {
    for (int32_t i = 0; demoRunning && int64_t{i} < int64_t{part.scene.frameCount} - partThreeFramesBeforeLast; ++i)
        partThreeFrameStep(renderer, part, i);
}

std::unique_ptr<Scene> loadScene(const char* fileName, Renderer& renderer) {
    auto scene = std::make_unique<Scene>(directDraw, device);
    scene->load(fileName, &renderer);
    return scene;
}

}  // namespace

int runDemo() { return runDemo(std::chrono::steady_clock::now); }

int runDemo(const FadeClock& fadeClock) {
    logOpen("c:\\kvorlog.txt", nullptr);
    requestDemoDisplay(1);
    auto renderer = std::make_unique<Renderer>();
    renderer->setUp();
    renderer->clear();
    SetCurrentDirectoryA("datas");
    std::unique_ptr<Scene> tores = loadScene("tores.kvs", *renderer);
    std::unique_ptr<Scene> mont = loadScene("mont.kvs", *renderer);
    std::unique_ptr<Scene> salle = loadScene("salle.kvs", *renderer);
    renderer->setDefaultRenderStates();
    OutputDebugStringA("rendering scene\n");
    tores->currentFrame = tores->firstFrame;
    mont->currentFrame = 1;
    salle->currentFrame = 1;
    TitleOverlays titles = prepareTitleOverlays(salle->frameCount);
    const HWND player = findMusicPlayer();
    startMusic(player);

    playPartOne(*renderer, Part{*tores, {titles[0].get(), titles[1].get(), titles[2].get()}});
    mont->currentFrame = 1;
    salle->currentFrame = 1;
    if (demoRunning) playPartTwo(*renderer, Part{*mont, {titles[6].get(), titles[8].get(), titles[7].get()}});
    if (demoRunning) playPartThree(*renderer, Part{*salle, {titles[3].get(), titles[4].get(), titles[5].get()}});

    fadeMusic(player, fadeClock);
    closeMusicPlayer(player);
    releaseDemoDisplay();
    // Overlays, then scenes, then the renderer: the reverse of construction.
    for (auto overlay = titles.rbegin(); overlay != titles.rend(); ++overlay) overlay->reset();
    salle.reset();
    mont.reset();
    tores.reset();
    renderer.reset();
    return 0;
}
