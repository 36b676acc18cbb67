#pragma once
// Scene files whose materials load textures: the scene-file fixture on the
// null driver's display.

#include <string>

#include "render/renderer.h"
#include "tests/support/null_display.h"
#include "tests/support/scene_files.h"

namespace testing_support {

// The same on the null driver's display, for scenes whose materials load textures.
class DisplayedSceneFileTest : public SceneFileTest {
protected:
    void SetUp() override { renderer.setUp(); }
    // A 2 x 2 texture file beside the scene: TGA (24 bits) or zkv, by the name's extension.
    void writeTexture(const std::string& name) const;

    NullDriverScope driver;
    Renderer renderer;
};

}  // namespace testing_support
