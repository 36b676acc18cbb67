#pragma once
// What kvor-view plays: the demo's show from the data folder, or one scene
// alone in a loop, loaded from the current directory on a display set up.

#include <memory>
#include <string>
#include <vector>

#include "app/demo_show.h"
#include "app/show.h"
#include "tools/view/view_options.h"

class Renderer;

namespace view {

class ViewedShow {
public:
    // A file that cannot be read is the engine's fatal stop: check first.
    ViewedShow(const ViewOptions& options, Renderer& renderer);
    ~ViewedShow();
    ViewedShow(const ViewedShow&) = delete;
    ViewedShow& operator=(const ViewedShow&) = delete;

    Show& show() { return demo ? demo->show : alone; }
    // The scene files it reads, in the current directory.
    std::vector<std::string> sceneFiles() const;
    // The show's music follows the timeline; a scene alone has none.
    bool hasMusic() const { return demo != nullptr; }

private:
    std::unique_ptr<DemoShow> demo;
    std::unique_ptr<Scene> scene;
    std::string sceneFile;
    Show alone;
};

}  // namespace view
