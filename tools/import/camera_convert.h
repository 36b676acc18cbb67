#pragma once
// A glTF camera as the engine's target camera. The engine turns a target
// camera to look at its target and then rolls the world about its z axis, so
// any orientation is reached by a target along the rolled view direction and
// a roll per frame; a moving orientation moves the target.

#include <tiny_gltf.h>

#include <string>

#include "tools/import/import_math.h"
#include "tools/import/node_motion.h"
#include "tools/kvs/kvs_file.h"

namespace gltf_import {

// The engine projects with an aspect of 1 on a 4:3 picture: its field of view
// spans the picture's width and the same angle its height. The camera's whole
// frame (width over height aspectRatio, 4:3 when 0) is kept in view: a wide
// one spans the picture's width, an upright one its height.
float engineFieldOfView(double verticalFieldOfView, double aspectRatio);

// Where the engine's target camera stands, looks and rolls to show what a glTF
// camera at position with rotation (both in the file's space) shows.
struct TargetView {
    Vector3 position;
    Vector3 target;
    float roll = 0.0f;
};
TargetView targetView(Vec3 position, Quat rotation);

kvs::Camera convertCamera(const tinygltf::Model& model, int node, const NodeMotion& motion, int frameCount,
                          const std::string& name, const std::string& targetName, int32_t frameStep);

}  // namespace gltf_import
