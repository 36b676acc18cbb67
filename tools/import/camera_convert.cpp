#include "tools/import/camera_convert.h"

#include <algorithm>
#include <cmath>

namespace gltf_import {

namespace {

// Far enough that the target's float position keeps the direction precise.
constexpr double targetDistance = 100.0;

struct Rows {
    Vec3 r[3];
};

// The engine's look-at rotation followed by its roll, as it computes them.
Rows engineRotation(Vec3 d, double roll) {
    d = normalized(d);
    const Vec3 up = (d.x == 0.0 && d.z == 0.0) ? Vec3{-d.y, 0, 0} : Vec3{0, -1, 0};
    const Vec3 right = normalized(cross(d, up));
    const Vec3 v = normalized(cross(right, d));
    const double lookAt[3][3] = {{right.x, right.y, right.z}, {-v.x, -v.y, -v.z}, {d.x, d.y, d.z}};
    const double c = std::cos(-roll), s = std::sin(-roll);
    const double z[3][3] = {{c, s, 0}, {-s, c, 0}, {0, 0, 1}};
    Rows rows;
    for (int i = 0; i < 3; ++i) {
        double out[3] = {};
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) out[j] += lookAt[i][k] * z[k][j];
        rows.r[i] = {out[0], out[1], out[2]};
    }
    return rows;
}

// Turned by the roll about the world's z axis, as the engine turns the world.
Vec3 rolled(Vec3 w, double roll) {
    const double c = std::cos(roll), s = std::sin(roll);
    return {c * w.x - s * w.y, s * w.x + c * w.y, w.z};
}

}  // namespace

float engineFieldOfView(double verticalFieldOfView, double aspectRatio) {
    const double aspect = aspectRatio > 0 ? aspectRatio : 4.0 / 3.0;
    return static_cast<float>(2 * std::atan(std::max(aspect, 1.0) * std::tan(verticalFieldOfView / 2)));
}

TargetView targetView(Vec3 position, Quat rotation) {
    // The camera's own axes in the engine's space: right, up, and forward
    // (glTF cameras look along their -z).
    const Vec3 right = toEngine(rotate(rotation, {1, 0, 0}));
    const Vec3 up = toEngine(rotate(rotation, {0, 1, 0}));
    const Vec3 forward = toEngine(rotate(rotation, {0, 0, -1}));
    // The rolled right axis must lie level for the look-at to produce it:
    // two rolls do, half a turn apart; the one that matches all three axes wins.
    const double level = std::atan2(-right.y, right.x);
    double best = level, bestError = INFINITY;
    for (double roll : {level, level + M_PI}) {
        const Rows rows = engineRotation(rolled(forward, roll), roll);
        const double error = length(rows.r[0] - right) + length(rows.r[1] - up) + length(rows.r[2] - forward);
        if (error < bestError) best = roll, bestError = error;
    }
    best = std::remainder(best, 2 * M_PI);
    const Vec3 at = toEngine(position);
    return {toVector3(at), toVector3(at + normalized(rolled(forward, best)) * targetDistance), static_cast<float>(best)};
}

kvs::Camera convertCamera(const tinygltf::Model& model, int node, const NodeMotion& motion, int frameCount,
                          const std::string& name, const std::string& targetName, int32_t frameStep) {
    const tinygltf::Camera& source = model.cameras[static_cast<size_t>(model.nodes[static_cast<size_t>(node)].camera)];
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::targetKind;
    camera.header.name = name;
    camera.targetHeader.name = targetName;
    camera.fieldOfView = {engineFieldOfView(source.perspective.yfov, source.perspective.aspectRatio)};
    auto viewAt = [&](int frame) {
        return targetView(motion.world(node, frame).translation(), motion.worldRotation(node, frame));
    };
    const TargetView rest = viewAt(0);
    camera.header.position = camera.header.restPosition = rest.position;
    camera.targetHeader.position = camera.targetHeader.restPosition = rest.target;
    if (motion.animated(node)) {
        std::vector<kvs::PositionKey> positions, targets;
        std::vector<kvs::RotationKey> rolls;
        for (int frame = 0; frame < frameCount; ++frame) {
            const TargetView view = viewAt(frame);
            const int32_t time = frame * frameStep;
            positions.push_back({time, view.position});
            targets.push_back({time, view.target});
            rolls.push_back({time, {view.roll, 0, 0, 0}});
        }
        camera.animation = kvs::Animation::sampledTracks(std::move(positions), std::move(rolls));
        camera.targetAnimation = kvs::Animation::sampledTracks(std::move(targets));
    } else if (rest.roll != 0.0f) {
        camera.animation = kvs::Animation::sampledTracks({}, {{0, {rest.roll, 0, 0, 0}}});
    }
    return camera;
}

}  // namespace gltf_import
