#include "app/scene_alone.h"

#include <memory>
#include <string>

#include "base/display_request.h"
#include "base/display_state.h"
#include "base/log.h"
#include "base/process_state.h"
#include "render/renderer.h"
#include "scene/scene.h"

namespace {

// The folder and the file's own name; either separator.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return {".", path};
    return {slash == 0 ? path.substr(0, 1) : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

ShowPart sceneAlonePart(Scene& scene) { return ShowPart{&scene, 0, scene.frameCount, {}, false}; }

int runSceneAlone(const char* sceneFile) {
    logOpen("c:\\kvorlog.txt", nullptr);
    requestDemoDisplay(1);
    auto renderer = std::make_unique<Renderer>();
    renderer->setUp();
    renderer->clear();
    const auto [folder, name] = splitPath(sceneFile);
    SetCurrentDirectoryA(folder.c_str());
    auto scene = std::make_unique<Scene>(directDraw, device);
    scene->load(name.c_str(), renderer.get());
    renderer->setDefaultRenderStates();
    Show show({sceneAlonePart(*scene)});
    while (demoRunning && !show.over()) show.playFrame(*renderer);
    releaseDemoDisplay();
    scene.reset();
    renderer.reset();
    return 0;
}
