#include "tools/import/node_motion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/import/accessor_data.h"
#include "tools/import/import_error.h"

namespace gltf_import {

namespace {

// Each frame of each moving node is stored: an hour at 60 frames per second
// is more than any show plays, and keeps a hostile file from asking for
// memory without end.
constexpr double longestAnimation = 3600.0;

Quat slerp(Quat a, Quat b, double s) {
    double cosine = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    if (cosine < 0) {
        b = {-b.x, -b.y, -b.z, -b.w};
        cosine = -cosine;
    }
    double wa = 1 - s, wb = s;
    if (cosine < 0.9995) {
        const double angle = std::acos(cosine), sine = std::sin(angle);
        wa = std::sin((1 - s) * angle) / sine;
        wb = std::sin(s * angle) / sine;
    }
    return normalized(Quat{a.x * wa + b.x * wb, a.y * wa + b.y * wb, a.z * wa + b.z * wb, a.w * wa + b.w * wb});
}

Quat quaternion(const std::vector<double>& v) { return normalized(Quat{v[0], v[1], v[2], v[3]}); }

// The rotation of a matrix whose columns may be scaled.
Quat rotationOf(const Affine& a) {
    double m[3][3];
    for (int j = 0; j < 3; ++j) {
        const Vec3 column = normalized(Vec3{a.m[0][j], a.m[1][j], a.m[2][j]});
        m[0][j] = column.x, m[1][j] = column.y, m[2][j] = column.z;
    }
    if (a.determinant() < 0)
        for (int i = 0; i < 3; ++i) m[i][2] = -m[i][2];
    const double trace = m[0][0] + m[1][1] + m[2][2];
    Quat q;
    if (trace > 0) {
        const double s = std::sqrt(trace + 1) * 2;
        q = {(m[2][1] - m[1][2]) / s, (m[0][2] - m[2][0]) / s, (m[1][0] - m[0][1]) / s, s / 4};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double s = std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]) * 2;
        q = {s / 4, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[2][1] - m[1][2]) / s};
    } else if (m[1][1] > m[2][2]) {
        const double s = std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]) * 2;
        q = {(m[0][1] + m[1][0]) / s, s / 4, (m[1][2] + m[2][1]) / s, (m[0][2] - m[2][0]) / s};
    } else {
        const double s = std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]) * 2;
        q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, s / 4, (m[1][0] - m[0][1]) / s};
    }
    return normalized(q);
}

Affine matrixOf(const std::vector<double>& m) {
    Affine a;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) a.m[i][j] = m[static_cast<size_t>(j * 4 + i)];
    return a;
}

ChannelSampler samplerOf(const tinygltf::Model& model, const tinygltf::AnimationSampler& sampler, int components) {
    ChannelSampler made;
    made.components = components;
    made.interpolation = sampler.interpolation == "STEP"          ? ChannelSampler::Interpolation::step
                         : sampler.interpolation == "CUBICSPLINE" ? ChannelSampler::Interpolation::cubicSpline
                                                                  : ChannelSampler::Interpolation::linear;
    made.times = readFloats(model, sampler.input, 1);
    made.values = readFloats(model, sampler.output, components);
    return made;
}

std::string describedNode(const tinygltf::Model& model, int node) {
    const std::string& name = model.nodes[static_cast<size_t>(node)].name;
    return "node " + (name.empty() ? std::to_string(node) : "\"" + name + "\"");
}

bool keepsRestScale(const tinygltf::Model& model, int node, const tinygltf::AnimationSampler& sampler) {
    const tinygltf::Accessor& output = model.accessors[static_cast<size_t>(sampler.output)];
    if (output.type != TINYGLTF_TYPE_VEC3 || output.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT) return false;
    const std::vector<double>& scale = model.nodes[static_cast<size_t>(node)].scale;
    const double rest[3] = {scale.empty() ? 1.0 : scale[0], scale.empty() ? 1.0 : scale[1],
                            scale.empty() ? 1.0 : scale[2]};
    const std::vector<float> values = readFloats(model, sampler.output, 3);
    const bool cubic = sampler.interpolation == "CUBICSPLINE";
    for (size_t i = 0; i < values.size(); ++i) {
        // A cubic spline's tangents are 0 when its values stand still.
        const bool tangent = cubic && (i / 3) % 3 != 1;
        if (std::abs(values[i] - (tangent ? 0.0 : rest[i % 3])) > 1e-6) return false;
    }
    return true;
}

}  // namespace

std::vector<double> ChannelSampler::at(double t) const {
    const size_t n = static_cast<size_t>(components);
    const bool cubic = interpolation == Interpolation::cubicSpline;
    // A key's value: the middle of the three stored per key of a cubic spline.
    auto value = [&](size_t key, size_t c) -> double { return values[(cubic ? key * 3 + 1 : key) * n + c]; };
    auto constant = [&](size_t key) {
        std::vector<double> result(n);
        for (size_t c = 0; c < n; ++c) result[c] = value(key, c);
        return result;
    };
    if (t <= times.front()) return constant(0);
    if (t >= times.back()) return constant(times.size() - 1);
    const size_t k = static_cast<size_t>(std::upper_bound(times.begin(), times.end(), t) - times.begin()) - 1;
    const double span = static_cast<double>(times[k + 1]) - times[k];
    if (interpolation == Interpolation::step || span <= 0) return constant(k);
    const double s = (t - times[k]) / span;
    std::vector<double> result(n);
    if (interpolation == Interpolation::linear) {
        if (n == 4) {
            const Quat q = slerp(quaternion(constant(k)), quaternion(constant(k + 1)), s);
            return {q.x, q.y, q.z, q.w};
        }
        for (size_t c = 0; c < n; ++c) result[c] = value(k, c) * (1 - s) + value(k + 1, c) * s;
        return result;
    }
    const double s2 = s * s, s3 = s2 * s;
    for (size_t c = 0; c < n; ++c) {
        const double outTangent = values[(k * 3 + 2) * n + c], inTangent = values[((k + 1) * 3) * n + c];
        result[c] = (2 * s3 - 3 * s2 + 1) * value(k, c) + (s3 - 2 * s2 + s) * span * outTangent +
                    (-2 * s3 + 3 * s2) * value(k + 1, c) + (s3 - s2) * span * inTangent;
    }
    if (n == 4) {
        const Quat q = quaternion(result);
        return {q.x, q.y, q.z, q.w};
    }
    return result;
}

NodeMotion::NodeMotion(const tinygltf::Model& model, ImportReport& report)
    : model(model),
      parents(model.nodes.size(), -1),
      translations(model.nodes.size()),
      rotations(model.nodes.size()),
      moving(model.nodes.size(), false) {
    for (size_t i = 0; i < model.nodes.size(); ++i)
        for (int child : model.nodes[i].children) parents[static_cast<size_t>(child)] = static_cast<int>(i);
    double lastTime = 0;
    for (const tinygltf::Animation& animation : model.animations)
        for (const tinygltf::AnimationChannel& channel : animation.channels) {
            if (channel.target_node < 0) continue;
            const std::string& path = channel.target_path;
            const std::string owner = describedNode(model, channel.target_node);
            const tinygltf::AnimationSampler& sampler = animation.samplers[static_cast<size_t>(channel.sampler)];
            // Exporters that sample every channel write scales that never change.
            if (path == "scale" && keepsRestScale(model, channel.target_node, sampler)) continue;
            if (path != "translation" && path != "rotation") {
                report.note(owner + ": " + (path == "weights" ? "morph target" : path) +
                            " animation not carried over, left at rest");
                continue;
            }
            if (!model.nodes[static_cast<size_t>(channel.target_node)].matrix.empty()) {
                report.note(owner + ": animation of a node given by a matrix not carried over");
                continue;
            }
            auto& slot = (path == "translation" ? translations : rotations)[static_cast<size_t>(channel.target_node)];
            if (slot) report.note(owner + ": " + path + " animated twice, the last animation kept");
            slot = samplerOf(model, sampler, path == "translation" ? 3 : 4);
            lastTime = std::max(lastTime, static_cast<double>(slot->times.back()));
        }
    if (lastTime > longestAnimation) {
        // Any float may stand here, 3e38 too: printed, not converted to an integer.
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", lastTime);
        throw ImportError(std::string("the animation lasts ") + seconds + " s, longer than an hour");
    }
    last = static_cast<int>(std::ceil(lastTime * framesPerSecond - 1e-6));
    last = std::max(last, 0);
    for (size_t i = 0; i < model.nodes.size(); ++i)
        for (int at = static_cast<int>(i); at != -1 && !moving[i]; at = parents[static_cast<size_t>(at)])
            moving[i] =
                translations[static_cast<size_t>(at)].has_value() || rotations[static_cast<size_t>(at)].has_value();
    for (size_t i = 0; i < model.skins.size(); ++i)
        report.note("skin " + std::to_string(i) + ": not carried over, left at rest");
}

Vec3 NodeMotion::translation(int node, int frame) const {
    const auto& sampler = translations[static_cast<size_t>(node)];
    if (sampler) {
        const std::vector<double> v = sampler->at(static_cast<double>(frame) / framesPerSecond);
        return {v[0], v[1], v[2]};
    }
    const std::vector<double>& t = model.nodes[static_cast<size_t>(node)].translation;
    return t.empty() ? Vec3{} : Vec3{t[0], t[1], t[2]};
}

Quat NodeMotion::rotation(int node, int frame) const {
    const auto& sampler = rotations[static_cast<size_t>(node)];
    if (sampler) return quaternion(sampler->at(static_cast<double>(frame) / framesPerSecond));
    const std::vector<double>& r = model.nodes[static_cast<size_t>(node)].rotation;
    return r.empty() ? Quat{} : quaternion(r);
}

Affine NodeMotion::local(int node, int frame) const {
    const tinygltf::Node& at = model.nodes[static_cast<size_t>(node)];
    if (!at.matrix.empty()) return matrixOf(at.matrix);
    const Vec3 scale = at.scale.empty() ? Vec3{1, 1, 1} : Vec3{at.scale[0], at.scale[1], at.scale[2]};
    return fromTrs(translation(node, frame), rotation(node, frame), scale);
}

Affine NodeMotion::world(int node, int frame) const {
    const Affine own = local(node, frame);
    const int up = parents[static_cast<size_t>(node)];
    return up == -1 ? own : world(up, frame) * own;
}

Quat NodeMotion::worldRotation(int node, int frame) const {
    const tinygltf::Node& at = model.nodes[static_cast<size_t>(node)];
    const Quat own = at.matrix.empty() ? rotation(node, frame) : rotationOf(matrixOf(at.matrix));
    const int up = parents[static_cast<size_t>(node)];
    return up == -1 ? own : normalized(worldRotation(up, frame) * own);
}

}  // namespace gltf_import
