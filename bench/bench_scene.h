#pragma once
// The benchmark's scene: 50 meshes of 2,000 vertices each (100,000 in all),
// animated over 2,000 frames with one key per frame, seen by a moving target
// camera.

#include "tools/kvs/kvs_file.h"

namespace bench {

constexpr int meshCount = 50;
constexpr int verticesPerMesh = 2000;  // a grid of 40 x 50
constexpr int frameCount = 2000;

kvs::SceneFile benchmarkScene();

}  // namespace bench
