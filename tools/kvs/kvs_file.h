#pragma once
// A scene file as the content tools describe it, before it becomes bytes.
// Vectors and colours are in memory order; the writer applies the file's
// axis exchange where the reader undoes it. Counts are not stored here: they
// are the sizes of the lists (tests that need a lying count write the record
// themselves with KvsWriter).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "math/matrix4.h"
#include "math/quaternion.h"
#include "math/vector3.h"
#include "scene/kvs_flags.h"

namespace kvs {

struct PositionKey {
    int32_t time = 0;  // key-time units: frame number times the scene's frameStep
    Vector3 value;
};

// A camera or camera target stores only x, its roll in radians.
struct RotationKey {
    int32_t time = 0;
    Quaternion value;
};

// One entry of a sampled track list: flags 0x01 writes the position keys,
// 0x02 the rotation keys (position first when both are set).
struct TrackEntry {
    uint8_t flags = 0;
    std::vector<PositionKey> positions;
    std::vector<RotationKey> rotations;
};

struct Animation {
    static constexpr uint8_t none = kvs_flags::noAnimation;
    static constexpr uint8_t sampled = kvs_flags::sampledAnimation;

    uint8_t kind = none;             // any other value is written alone: animated, no tracks
    std::vector<TrackEntry> tracks;  // only for kind sampled; 0x80 ends them in the file

    // A sampled block with a position and/or a rotation track (empty ones left out).
    static Animation sampledTracks(std::vector<PositionKey> positions, std::vector<RotationKey> rotations = {});
};

struct ObjectHeader {
    std::string name;
    std::optional<std::string> parentName;
    int16_t tag = 0;
    Matrix4 rotation = identity();
    Vector3 position;
    Vector3 restPosition;

    static Matrix4 identity();
};

struct Face {
    int32_t a = 0, b = 0, c = 0;
    uint16_t subMaterial = 0;
};

struct TextureFace {
    int32_t ta = 0, tb = 0, tc = 0;
};

struct TextureVertex {
    float u = 0.0f, v = 0.0f;
};

struct Mesh {
    ObjectHeader header;
    bool textured = false;  // materialIndex is written instead of flatColour
    bool spareFlag3 = false;
    bool spareFlag4 = false;
    int32_t materialIndex = 0;
    Vector3 flatColour;  // red, green, blue, stored in this order
    std::vector<Vector3> vertices;
    std::vector<Face> faces;
    std::vector<TextureVertex> textureVertices;  // none: the texture part ends at its count
    std::vector<TextureFace> textureFaces;       // written only with texture vertices
    Animation animation;
};

struct Camera {
    static constexpr uint8_t freeKind = 0;
    static constexpr uint8_t targetKind = 1;

    uint8_t cameraKind = freeKind;
    ObjectHeader header;
    ObjectHeader targetHeader;       // only for a target camera
    Animation animation;             // rotation keys hold the roll
    Animation targetAnimation;       // only for a target camera
    std::vector<float> fieldOfView;  // radians
};

struct Material {
    Vector3 ambient, diffuse, specular;  // red, green, blue
    float transparency = 0.0f;
    uint8_t flags = 0;
    std::vector<std::string> textureNames;  // the first is the texture; the rest are read past
};

struct MaterialSet {
    std::vector<Material> materials;
    // Stored instead of the number of materials when set: 0 stands for 1.
    std::optional<int32_t> storedCount;
};

struct Environment {
    // Bit 0: name follows; else bit 1 clear: colour follows. Bit 2 clear:
    // ambient follows. Bits 3 to 7 are written as given and ignored.
    uint8_t flags = 0x06;
    std::string name;
    Vector3 colour;   // red, green, blue
    Vector3 ambient;  // red, green, blue
};

struct Fog {
    // Bit 0 on; with bit 1 exponential (bit 2: squared), else linear.
    uint8_t flags = 0;
    float start = 0.0f;
    float end = 0.0f;
    float density = 0.0f;  // as stored: the reader scales it by 0.0001
};

struct SceneFile {
    int version = 2;  // 1 has no fog block
    std::string name;
    int32_t firstFrame = 0;
    int32_t lastFrame = 0;
    int32_t headerValueC = 0;
    int32_t frameStep = 160;
    int32_t extraCount = 0;
    Environment environment;
    Fog fog;
    std::vector<MaterialSet> materialSets;
    std::vector<Mesh> meshes;
    std::vector<Camera> cameras;
};

}  // namespace kvs
