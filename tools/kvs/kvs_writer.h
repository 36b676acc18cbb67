#pragma once
// Writes scene files: the exact inverse of the engine's SceneReader. Each
// record has its own operation, so a test can put together a file the
// description cannot express (a lying count, a record cut short).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/kvs/kvs_file.h"

namespace kvs {

class KvsWriter {
public:
    // Little-endian fields, no padding.
    KvsWriter& int32(int32_t value);
    KvsWriter& int16(int16_t value);
    KvsWriter& uint8(uint8_t value);
    KvsWriter& float32(float value);
    KvsWriter& string(const std::string& text);    // characters, then a zero byte
    KvsWriter& chars(const std::string& text);     // characters only
    KvsWriter& point(const Vector3& point);        // stored x, z, y
    KvsWriter& colour(const Vector3& colour);      // stored r, g, b
    KvsWriter& rotation(const Matrix4& rotation);  // the 3 x 3 block, column by column

    KvsWriter& magic(int version);
    // The name, the four frame values and the three counts.
    KvsWriter& header(const SceneFile& scene, int32_t meshCount, int32_t cameraCount);
    KvsWriter& environment(const Environment& environment);
    KvsWriter& fog(const Fog& fog);
    KvsWriter& materialSection(const std::vector<MaterialSet>& sets);
    KvsWriter& materialSet(const MaterialSet& set);
    KvsWriter& material(const Material& material);
    // extraFlags adds the bits of the mesh record (textured, spare flags).
    KvsWriter& objectHeader(const ObjectHeader& header, uint8_t extraFlags = 0);
    KvsWriter& mesh(const Mesh& mesh);
    KvsWriter& camera(const Camera& camera);
    // Rotation keys of cameras and targets are 8 bytes (the roll), of meshes 20.
    KvsWriter& animation(const Animation& animation, bool ofCamera);
    KvsWriter& fieldOfView(const std::vector<float>& entries);

    const std::vector<uint8_t>& bytes() const { return data; }
    size_t size() const { return data.size(); }

private:
    KvsWriter& trackEntry(const TrackEntry& entry, bool ofCamera);
    std::vector<uint8_t> data;
};

std::vector<uint8_t> sceneFileBytes(const SceneFile& scene);
// Throws std::runtime_error when the file cannot be written whole.
void saveSceneFile(const SceneFile& scene, const std::filesystem::path& path);
void saveBytes(const std::vector<uint8_t>& bytes, const std::filesystem::path& path);

}  // namespace kvs
