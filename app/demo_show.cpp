#include "app/demo_show.h"

#include "base/process_state.h"
#include "platform/win32.h"
#include "render/renderer.h"

namespace {

constexpr int64_t partOneFrames = 1500;
constexpr int64_t partThreeFramesBeforeLast = 5;

std::unique_ptr<Scene> loadScene(const char* fileName, Renderer& renderer) {
    auto scene = std::make_unique<Scene>(directDraw, device);
    scene->load(fileName, &renderer);
    return scene;
}

}  // namespace

std::unique_ptr<DemoShow> loadDemoShow(Renderer& renderer) {
    auto demo = std::make_unique<DemoShow>();
    demo->tores = loadScene("tores.kvs", renderer);
    demo->mont = loadScene("mont.kvs", renderer);
    demo->salle = loadScene("salle.kvs", renderer);
    renderer.setDefaultRenderStates();
    OutputDebugStringA("rendering scene\n");
    demo->titles = prepareTitleOverlays(demo->salle->frameCount);
    demo->show = demoParts(*demo);
    return demo;
}

Show demoParts(DemoShow& demo) {
    const TitleOverlays& t = demo.titles;
    return Show({
        {demo.tores.get(), demo.tores->firstFrame, partOneFrames, {t[0].get(), t[1].get(), t[2].get()}, false},
        {demo.mont.get(), 1, demo.mont->frameCount, {t[6].get(), t[8].get(), t[7].get()}, false},
        {demo.salle.get(), 1, int64_t{demo.salle->frameCount} - partThreeFramesBeforeLast,
         {t[3].get(), t[4].get(), t[5].get()}, true},
    });
}
