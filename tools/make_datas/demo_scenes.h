#pragma once
// The demo's three scenes, built in code with the textures they name. Every
// scene is parameterised by its length and its level of detail, so tests can
// build small versions of the same content.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/image_writers/image_writers.h"
#include "tools/kvs/kvs_file.h"

namespace datas {

// The show's own lengths: part one always lasts 1500 frames, parts two and
// three last their scene (salle less its last five frames).
constexpr int32_t toresFrameCount = 1500;
constexpr int32_t montFrameCount = 1500;
constexpr int32_t salleFrameCount = 1800;

// Frames the show draws with scenes of these lengths, and its length in
// seconds at 60 frames per second with the three-second fade after it.
constexpr int32_t showFrameCount(int32_t montFrames, int32_t salleFrames) {
    return 1500 + (montFrames > 0 ? montFrames : 0) + (salleFrames > 5 ? salleFrames - 5 : 0);
}
constexpr double showSeconds(int32_t montFrames, int32_t salleFrames) {
    return showFrameCount(montFrames, salleFrames) / 60.0 + 3.0;
}

// The show sets the projection of the scene it loads last for all three
// parts: every camera shares its field of view (radians).
constexpr float showFieldOfView = 1.1f;

struct SceneSize {
    int32_t frameCount = 0;
    // Scales every tessellation (1 is the show's; tests use less).
    float detail = 1.0f;
};

struct TextureFile {
    std::string name;  // the file's name in datas/
    image_writers::Bytes bytes;
};

struct DemoScene {
    std::string fileName;  // "tores.kvs" and so on
    kvs::SceneFile file;
    std::vector<TextureFile> textures;
};

// Tori and torus knots turning under a rolling target camera, no fog.
DemoScene toresScene(const SceneSize& size);
// A flight with a free camera over a valley in linear fog.
DemoScene montScene(const SceneSize& size);
// A hall of columns with glass chandeliers whose panes follow them, in
// exponential fog, walked through by a target camera.
DemoScene salleScene(const SceneSize& size);

}  // namespace datas
