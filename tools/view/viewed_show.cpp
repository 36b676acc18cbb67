#include "tools/view/viewed_show.h"

#include "app/scene_alone.h"
#include "base/process_state.h"
#include "render/renderer.h"

namespace view {

ViewedShow::ViewedShow(const ViewOptions& options, Renderer& renderer) {
    if (!options.sceneFile) {
        demo = loadDemoShow(renderer);
        return;
    }
    sceneFile = *options.sceneFile;
    scene = std::make_unique<Scene>(directDraw, device);
    scene->load(sceneFile.c_str(), &renderer);
    renderer.setDefaultRenderStates();
    alone = Show({sceneAlonePart(*scene)});
}

// The titles go before the scenes they are drawn over.
ViewedShow::~ViewedShow() {
    alone = Show();
    demo.reset();
    scene.reset();
}

std::vector<std::string> ViewedShow::sceneFiles() const {
    if (demo) return {"tores.kvs", "mont.kvs", "salle.kvs"};
    return {sceneFile};
}

}  // namespace view
