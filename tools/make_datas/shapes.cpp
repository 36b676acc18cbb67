#include "tools/make_datas/shapes.h"
#include "tools/make_datas/turn.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace datas {

namespace {


Vector3 knotPoint(int p, int q, float ring, float angle) {
    const float radius = ring * (1.0f + 0.45f * std::cos(static_cast<float>(q) * angle));
    return {radius * std::cos(static_cast<float>(p) * angle), ring * 0.45f * std::sin(static_cast<float>(q) * angle),
            radius * std::sin(static_cast<float>(p) * angle)};
}

// One face of a box: the corner, two edge vectors, the outward direction.
void boxFace(MeshBuilder& mesh, const Vector3& corner, const Vector3& edgeU, const Vector3& edgeV,
             const Vector3& outward, float textureSize, uint16_t subMaterial) {
    const float uLength = std::sqrt(dot(edgeU, edgeU)) / textureSize;
    const float vLength = std::sqrt(dot(edgeV, edgeV)) / textureSize;
    const int32_t a = mesh.vertex(corner, 0.0f, 0.0f);
    const int32_t b = mesh.vertex(corner + edgeU, uLength, 0.0f);
    const int32_t c = mesh.vertex(corner + edgeU + edgeV, uLength, vLength);
    const int32_t d = mesh.vertex(corner + edgeV, 0.0f, vLength);
    mesh.quad(a, b, c, d, outward, subMaterial);
}

}  // namespace

int steps(int full, float detail, int minimum) {
    return std::max(minimum, static_cast<int>(std::lround(static_cast<float>(full) * detail)));
}

void addTorus(MeshBuilder& mesh, const Vector3& centre, float ring, float tube, int ringSteps, int tubeSteps,
              float uRepeat) {
    mesh.surface(
        ringSteps, tubeSteps,
        [&](float s, float t) {
            const float around = s * turn, across = t * turn;
            const float radius = ring + tube * std::cos(across);
            return SurfacePoint{
                centre + Vector3{radius * std::cos(around), tube * std::sin(across), radius * std::sin(around)},
                s * uRepeat, t};
        },
        [&](const Vector3& point) {
            const Vector3 local = point - centre;
            const Vector3 axis = scaled(normalized({local.x, 0.0f, local.z}), ring);
            return local - axis;
        });
}

void addTorusKnot(MeshBuilder& mesh, const Vector3& centre, int p, int q, float ring, float tube, int curveSteps,
                  int tubeSteps, float uRepeat) {
    mesh.surface(
        curveSteps, tubeSteps,
        [&](float s, float t) {
            const float angle = s * turn, step = 0.001f;
            const Vector3 here = knotPoint(p, q, ring, angle);
            const Vector3 ahead = knotPoint(p, q, ring, angle + step);
            const Vector3 behind = knotPoint(p, q, ring, angle - step);
            const Vector3 tangent = normalized(ahead - behind);
            const Vector3 normal = normalized(ahead + behind - scaled(here, 2.0f));
            const Vector3 binormal = tangent.cross(normal);
            const float across = t * turn;
            const Vector3 offset = scaled(normal, tube * std::cos(across)) + scaled(binormal, tube * std::sin(across));
            return SurfacePoint{centre + here + offset, s * uRepeat, t};
        },
        [&](const Vector3& point) {
            // The nearest curve point is the centre of the tube there.
            Vector3 best = knotPoint(p, q, ring, 0.0f);
            float bestDistance = 1e30f;
            for (int k = 0; k < 720; ++k) {
                const Vector3 candidate = centre + knotPoint(p, q, ring, static_cast<float>(k) * turn / 720.0f);
                const Vector3 offset = point - candidate;
                if (dot(offset, offset) < bestDistance) {
                    bestDistance = dot(offset, offset);
                    best = candidate;
                }
            }
            return point - best;
        });
}

void addCylinder(MeshBuilder& mesh, const Vector3& base, float radius, float height, int steps, float uRepeat,
                 float vRepeat, uint16_t subMaterial) {
    mesh.surface(
        steps, 1,
        [&](float s, float t) {
            const float around = s * turn;
            return SurfacePoint{base + Vector3{radius * std::cos(around), t * height, radius * std::sin(around)},
                                s * uRepeat, (1.0f - t) * vRepeat};
        },
        [&](const Vector3& point) {
            return Vector3{point.x - base.x, 0.0f, point.z - base.z};
        },
        subMaterial);
}

void addBox(MeshBuilder& mesh, const Vector3& low, const Vector3& high, float textureSize, bool inward,
            uint16_t subMaterial) {
    const Vector3 size = high - low;
    const float sign = inward ? -1.0f : 1.0f;
    const Vector3 x{size.x, 0, 0}, y{0, size.y, 0}, z{0, 0, size.z};
    boxFace(mesh, low, x, y, {0, 0, -sign}, textureSize, subMaterial);
    boxFace(mesh, low + z, x, y, {0, 0, sign}, textureSize, subMaterial);
    boxFace(mesh, low, z, y, {-sign, 0, 0}, textureSize, subMaterial);
    boxFace(mesh, low + x, z, y, {sign, 0, 0}, textureSize, subMaterial);
    boxFace(mesh, low, x, z, {0, -sign, 0}, textureSize, subMaterial);
    boxFace(mesh, low + y, x, z, {0, sign, 0}, textureSize, subMaterial);
}

}  // namespace datas
