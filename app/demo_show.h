#pragma once
// The demo's show: the tores, mont and salle scenes under the nine titles, in
// three parts, loaded the way the demo loads them.

#include <memory>

#include "app/show.h"
#include "app/title_overlays.h"
#include "scene/scene.h"

class Renderer;

struct DemoShow {
    std::unique_ptr<Scene> tores, mont, salle;
    TitleOverlays titles;
    Show show;  // at its first frame
};

// Loads the three scenes from the current directory, sets the default render
// states and prepares the titles, on a display already set up. A file that
// cannot be read is a fatal stop. Destroying the result destroys the titles
// from last to first, then the scenes from last to first.
std::unique_ptr<DemoShow> loadDemoShow(Renderer& renderer);

// The three parts over a loaded show's scenes and titles: part one 1500
// frames of tores from its first frame; part two all of mont's frames from
// frame 1; part three salle's frames but the last five, from frame 1,
// clearing first.
Show demoParts(DemoShow& demo);
