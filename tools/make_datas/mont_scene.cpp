#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/make_datas/demo_scenes.h"
#include "tools/make_datas/motion.h"
#include "tools/make_datas/noise.h"
#include "tools/make_datas/shapes.h"
#include "tools/make_datas/texture_files.h"

namespace datas {

namespace {

// The valley runs along z; the camera flies up it from z = 0.
constexpr float halfWidth = 1000.0f;
constexpr float valleyStart = -200.0f;
constexpr float valleyEnd = 4800.0f;
constexpr float flightLength = 3000.0f;
constexpr float groundTile = 160.0f;  // world units per texture repeat
constexpr int lightLevels = 3;

enum Ground : uint16_t { grassGround, rockGround, snowGround };
// After the three grounds at their light levels.
constexpr uint16_t skyMaterial = 3 * lightLevels;

float smoothStep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// The river's line across the valley at depth z.
float riverX(float z) { return 220.0f * std::sin(z / 650.0f) + 90.0f * std::sin(z / 230.0f); }

float height(float x, float z) {
    const float fromRiver = std::abs(x - riverX(z));
    const float hills = fractalNoise(x / 420.0f, z / 420.0f, 5, 7) * 520.0f - 120.0f;
    const float slopes = smoothStep(80.0f, 650.0f, fromRiver);
    const float meadow = fractalNoise(x / 150.0f, z / 150.0f, 3, 8) * 45.0f;
    return hills * slopes + fromRiver * 0.25f * slopes + meadow;
}

Vector3 sunDirection() { return normalized({-0.5f, 0.75f, -0.45f}); }

uint16_t groundMaterial(const Vector3& a, const Vector3& b, const Vector3& c) {
    const Vector3 normal = normalized((b - a).cross(c - a));
    const Vector3 up = normal.y < 0.0f ? scaled(normal, -1.0f) : normal;
    const float altitude = (a.y + b.y + c.y) / 3.0f;
    const Ground ground = altitude > 330.0f && up.y > 0.6f ? snowGround : up.y < 0.78f ? rockGround : grassGround;
    const float light = std::max(0.0f, dot(up, sunDirection()));
    const int level = std::min(lightLevels - 1, static_cast<int>(light * lightLevels));
    return static_cast<uint16_t>(ground * lightLevels + level);
}

kvs::Mesh terrain(float detail) {
    const int columns = steps(46, detail, 4), rows = steps(120, detail, 4);
    MeshBuilder mesh("vallee", 0);
    std::vector<int32_t> points;
    for (int row = 0; row <= rows; ++row)
        for (int column = 0; column <= columns; ++column) {
            const float x = -halfWidth + 2.0f * halfWidth * static_cast<float>(column) / static_cast<float>(columns);
            const float z = valleyStart + (valleyEnd - valleyStart) * static_cast<float>(row) / static_cast<float>(rows);
            points.push_back(mesh.vertex({x, height(x, z), z}, x / groundTile, z / groundTile));
        }
    const auto at = [&](int row, int column) { return points[static_cast<size_t>(row * (columns + 1) + column)]; };
    const auto position = [&](int32_t index) { return mesh.current().vertices[static_cast<size_t>(index)]; };
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int32_t a = at(row, column), b = at(row, column + 1), c = at(row + 1, column + 1), d = at(row + 1, column);
            mesh.triangle(a, b, c, {0, 1, 0}, groundMaterial(position(a), position(b), position(c)));
            mesh.triangle(a, c, d, {0, 1, 0}, groundMaterial(position(a), position(c), position(d)));
        }
    // One draw per run of a material: faces of a material together.
    mesh.sortFacesByMaterial();
    return mesh.take();
}

// Keeps clear of the ground under and ahead of the camera.
float flightHeight(float x, float z) {
    float highest = height(x, z);
    for (float ahead = 40.0f; ahead <= 240.0f; ahead += 40.0f)
        for (float side = -120.0f; side <= 120.0f; side += 60.0f) highest = std::max(highest, height(x + side, z + ahead));
    return highest;
}

Vector3 flight(const Timeline& timeline, float moment) {
    const float t = moment / static_cast<float>(timeline.frameCount - 1);
    // Eases in from a hover, then cruises.
    const float z = flightLength * (t - std::sin(t * std::numbers::pi_v<float>) * 0.08f);
    const float x = riverX(z) * 0.7f;
    return {x, 0.0f, z};
}

kvs::Camera flyingCamera(const Timeline& timeline) {
    kvs::Camera camera;
    camera.cameraKind = kvs::Camera::freeKind;
    camera.header.name = "vol";
    camera.fieldOfView = {showFieldOfView};
    // Looking up the valley, tipped down a little.
    const float pitch = 0.28f;
    const Vector3 forward{0.0f, -std::sin(pitch), std::cos(pitch)};
    const Vector3 up{0.0f, std::cos(pitch), std::sin(pitch)};
    camera.header.rotation = freeCameraRotation({1, 0, 0}, up, forward);
    // Altitude smoothed over the path so the flight does not jolt over each ridge.
    std::vector<Vector3> path;
    for (int32_t frame = 0; frame < timeline.frameCount; ++frame) path.push_back(flight(timeline, static_cast<float>(frame)));
    std::vector<float> ground;
    for (const Vector3& point : path) ground.push_back(flightHeight(point.x, point.z));
    for (size_t k = 0; k < path.size(); ++k) {
        float highest = ground[k];
        for (size_t j = k; j < std::min(path.size(), k + 90); ++j) highest = std::max(highest, ground[j]);
        path[k].y = highest + 95.0f;
    }
    for (int pass = 0; pass < 3; ++pass)
        for (size_t k = 1; k + 1 < path.size(); ++k) path[k].y = std::max(path[k].y, (path[k - 1].y + path[k + 1].y) * 0.5f);
    camera.header.position = camera.header.restPosition = path.front();
    camera.animation = kvs::Animation::sampledTracks(positionKeys(timeline, [&](float moment) {
        return path[static_cast<size_t>(moment)];
    }));
    return camera;
}

// A dome over the whole sight, carried along with the camera: far into the
// fog, it takes the fog's colour at the horizon, so the sky meets the fogged
// hills, and shows a little of its own night above.
kvs::Mesh skyDome(const kvs::Camera& camera, float detail) {
    MeshBuilder mesh("ciel", 0);
    const Vector3 centre = camera.header.restPosition;
    const float radius = 3000.0f;
    mesh.surface(
        steps(24, detail), steps(6, detail),
        [&](float s, float t) {
            const float around = s * 2.0f * std::numbers::pi_v<float>, elevation = -0.3f + t * 1.8f;
            return SurfacePoint{centre + Vector3{radius * std::cos(elevation) * std::cos(around), radius * std::sin(elevation),
                                                 radius * std::cos(elevation) * std::sin(around)},
                                s, t};
        },
        [&](const Vector3& point) { return centre - point; }, skyMaterial);
    mesh.setPivot(centre);
    kvs::Mesh dome = mesh.take();
    dome.animation = kvs::Animation::sampledTracks(camera.animation.tracks.front().positions);
    return dome;
}

}  // namespace

DemoScene montScene(const SceneSize& size) {
    const Timeline timeline{size.frameCount, 160, true};
    DemoScene scene{"mont.kvs", {}, {}};
    kvs::SceneFile& file = scene.file;
    file.version = 2;
    file.name = "mont";
    file.lastFrame = size.frameCount - 1;
    file.frameStep = timeline.frameStep;
    file.environment = {0x00, "", {0.0f, 0.19f, 0.22f}, {0.35f, 0.35f, 0.4f}};
    file.fog = {0x01, 250.0f, 1900.0f, 0.0f};
    // Three grounds at three light levels: the sun is baked into the texture each face picks.
    kvs::MaterialSet ground;
    const char* names[] = {"Herbe", "roche", "neige"};
    for (int kind = 0; kind < 3; ++kind)
        for (int level = 0; level < lightLevels; ++level) {
            const std::string base = names[kind] + std::to_string(level);
            const float light = (static_cast<float>(level) + 0.5f) / lightLevels;
            if (kind == grassGround) {
                ground.materials.push_back(texturedMaterial(base + ".jpg"));
                scene.textures.push_back(jpegTexture("herbe" + std::to_string(level) + ".jpg", grass(128, light)));
            } else {
                ground.materials.push_back(texturedMaterial(base + ".tga"));
                scene.textures.push_back(kind == rockGround ? tgaTexture(base + ".tga", rock(128, light), 24)
                                                            : tgaTexture(base + ".tga", snow(128, light), 16));
            }
        }
    ground.materials.push_back(texturedMaterial("ciel.jpg"));
    scene.textures.push_back(jpegTexture("ciel.jpg", nightSky(256)));
    file.materialSets = {ground};
    file.meshes.push_back(terrain(size.detail));
    file.cameras = {flyingCamera(timeline)};
    file.meshes.push_back(skyDome(file.cameras.front(), size.detail));
    return scene;
}

}  // namespace datas
