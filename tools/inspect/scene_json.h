#pragma once
// kvor-inspect scene's report: the scene as loaded, and for each frame asked
// for, the active camera after updateCamera and every mesh's camera-space
// vertices after transformMesh.

#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene.h"

// Moves the camera and the meshes to each frame in turn (every frame must lie
// within the scene's frames).
std::string describeScene(Scene& scene, int version, const std::vector<int32_t>& frames);
