#pragma once
// Keys as a track record stores them, alive only while the record is read.

#include <cstdint>

#include "math/quaternion.h"
#include "math/vector3.h"

struct AnimationKey {
    int32_t time = 0;  // key-time units; divided by the scene's frameStep it gives a frame
};

struct PositionKey : AnimationKey {
    Vector3 value;
};

// For a camera or a camera target only x is stored: the roll in radians.
struct RotationKey : AnimationKey {
    Quaternion value;
};
