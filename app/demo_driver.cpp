#include "app/demo_driver.h"

#include <array>
#include <memory>

#include "app/log.h"
#include "app/process_state.h"
#include "render/display_state.h"
#include "render/renderer.h"
#include "render/scene_frame.h"
#include "scene/scene.h"

namespace {

constexpr int32_t partOneFrames = 1500;

void takeOneMessage() {
    MSG message;
    GetMessageA(&message, nullptr, 0, 0);
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void frameStep(Renderer& renderer, Scene& scene) {
    takeOneMessage();
    renderer.beginScene();
    drawSceneFrame(scene);
    renderer.endScene();
    renderer.flip();
    renderer.clear();
}

std::unique_ptr<Scene> loadScene(const char* fileName, Renderer& renderer) {
    auto scene = std::make_unique<Scene>(directDraw, device);
    scene->load(fileName, &renderer);
    return scene;
}

void releaseDisplay() {
    if (device != nullptr) device->Release();
    device = nullptr;
    if (directDraw != nullptr) directDraw->Release();
    directDraw = nullptr;
    DestroyWindow(renderWindow);
}

}  // namespace

int runDemo() {
    logOpen("c:\\kvorlog.txt", nullptr);
    displayBitDepth = 16;
    displayHeight = 480;
    displayWidth = 640;
    waitForRetrace = 1;
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
    for (int32_t i = 0; demoRunning && i < partOneFrames; ++i) frameStep(*renderer, *tores);
    releaseDisplay();
    return 0;
}
