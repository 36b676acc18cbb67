#pragma once
// Per-frame tables: entry n is the value at frame n, one entry per frame of the
// scene. An empty table means the object has no track of that sort.

#include <vector>

#include "math/quaternion.h"
#include "math/vector3.h"

using PositionTrack = std::vector<Vector3>;
using RotationTrack = std::vector<Quaternion>;
using RollTrack = std::vector<float>;  // radians

// The x component of every entry: what a target camera keeps of its rotation keys.
RollTrack rollTrackFrom(const RotationTrack& rotations);
