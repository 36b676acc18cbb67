#pragma once
// Where every node is at every frame: its translation and rotation channels
// sampled at 60 frames per second from the file's time 0, composed down the
// node trees. Positions and rotations are in the file's space.

#include <tiny_gltf.h>

#include <optional>
#include <vector>

#include "tools/import/import_math.h"
#include "tools/import/import_report.h"

namespace gltf_import {

constexpr int framesPerSecond = 60;

// One sampler of one channel, its values ready to interpolate.
struct ChannelSampler {
    enum class Interpolation { step, linear, cubicSpline };
    Interpolation interpolation = Interpolation::linear;
    int components = 3;         // 3 for a translation, 4 for a rotation
    std::vector<float> times;   // seconds, increasing
    std::vector<float> values;  // components per value; three values per key for cubic splines

    // The value at time t: the first key's before it, the last key's after it.
    std::vector<double> at(double t) const;
};

class NodeMotion {
public:
    // Gathers the channels of every animation; what is not carried over goes to report.
    NodeMotion(const tinygltf::Model& model, ImportReport& report);

    // The frame of the last key of a carried channel; 0 without animation.
    int lastFrame() const { return last; }
    // The node or one of its ancestors moves.
    bool animated(int node) const { return moving[static_cast<size_t>(node)]; }
    int parent(int node) const { return parents[static_cast<size_t>(node)]; }

    // The node's transform in the file's space at frame n, scale included.
    Affine world(int node, int frame) const;
    // The rotation alone of the same, composed down the tree.
    Quat worldRotation(int node, int frame) const;

private:
    Vec3 translation(int node, int frame) const;
    Quat rotation(int node, int frame) const;
    Affine local(int node, int frame) const;

    const tinygltf::Model& model;
    std::vector<int> parents;
    std::vector<std::optional<ChannelSampler>> translations, rotations;
    std::vector<bool> moving;
    int last = 0;
};

}  // namespace gltf_import
