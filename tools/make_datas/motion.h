#pragma once
// Keyframe tracks sampled once per frame, and the rotations they hold.

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/kvs/kvs_file.h"

namespace datas {

struct Timeline {
    int32_t frameCount = 1;
    int32_t frameStep = 160;  // key-time units per frame
    // The show starts this scene at frame 1 and ends it on the wrap to frame
    // 0: entry 0 then holds the moment after the last frame, so the motion
    // runs on instead of jumping back.
    bool startsAtOne = false;

    // The moment (in frames since the motion began) that track entry frame shows.
    float moment(int32_t frame) const;
};

std::vector<kvs::PositionKey> positionKeys(const Timeline& timeline, const std::function<Vector3(float moment)>& path);
std::vector<kvs::RotationKey> rotationKeys(const Timeline& timeline, const std::function<Quaternion(float moment)>& turn);
// A camera's roll in radians, held in the key's x.
std::vector<kvs::RotationKey> rollKeys(const Timeline& timeline, const std::function<float(float moment)>& roll);

// Rotation by angle radians about axis (any length but zero).
Quaternion axisAngle(Vector3 axis, float angle);
// The rotation a then b (b applied last).
Quaternion followedBy(const Quaternion& a, const Quaternion& b);
Vector3 rotated(const Quaternion& rotation, const Vector3& point);

// The rest rotation of a free camera whose view has these unit axes
// (right-handed on screen: right, up, forward into the screen).
Matrix4 freeCameraRotation(const Vector3& right, const Vector3& up, const Vector3& forward);

}  // namespace datas
