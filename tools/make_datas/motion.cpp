#include "tools/make_datas/motion.h"

#include <cmath>

#include "tools/make_datas/mesh_builder.h"

namespace datas {

float Timeline::moment(int32_t frame) const {
    if (startsAtOne && frame == 0) return static_cast<float>(frameCount - 1);
    return static_cast<float>(startsAtOne ? frame - 1 : frame);
}

std::vector<kvs::PositionKey> positionKeys(const Timeline& timeline, const std::function<Vector3(float)>& path) {
    std::vector<kvs::PositionKey> keys;
    for (int32_t frame = 0; frame < timeline.frameCount; ++frame)
        keys.push_back({frame * timeline.frameStep, path(timeline.moment(frame))});
    return keys;
}

std::vector<kvs::RotationKey> rotationKeys(const Timeline& timeline, const std::function<Quaternion(float)>& turn) {
    std::vector<kvs::RotationKey> keys;
    for (int32_t frame = 0; frame < timeline.frameCount; ++frame)
        keys.push_back({frame * timeline.frameStep, turn(timeline.moment(frame))});
    return keys;
}

std::vector<kvs::RotationKey> rollKeys(const Timeline& timeline, const std::function<float(float)>& roll) {
    return rotationKeys(timeline, [&](float moment) { return Quaternion{roll(moment), 0.0f, 0.0f, 0.0f}; });
}

Quaternion axisAngle(Vector3 axis, float angle) {
    axis.normalize();
    const float s = std::sin(angle * 0.5f);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f)};
}

Quaternion followedBy(const Quaternion& a, const Quaternion& b) {
    // Hamilton product b * a.
    return {b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y, b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
            b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w, b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z};
}

Vector3 rotated(const Quaternion& rotation, const Vector3& point) {
    Matrix4 matrix;
    matrix.setIdentity();
    matrix.setFromQuaternion(rotation);
    return point.transformed(matrix);
}

Matrix4 freeCameraRotation(const Vector3& right, const Vector3& up, const Vector3& forward) {
    // Drawing swaps columns 0 and 2 of the rest rotation, then uses its rows
    // as the view axes: store each axis with x and z exchanged.
    Matrix4 matrix;
    matrix.setIdentity();
    const Vector3 rows[3] = {right, up, forward};
    for (int row = 0; row < 3; ++row) {
        matrix.m[row][0] = rows[row].z;
        matrix.m[row][1] = rows[row].y;
        matrix.m[row][2] = rows[row].x;
    }
    return matrix;
}

}  // namespace datas
