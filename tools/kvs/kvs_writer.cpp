#include "tools/kvs/kvs_writer.h"

#include <fstream>
#include <stdexcept>

#include "base/bit_cast.h"
#include "scene/kvs_flags.h"

namespace kvs {

namespace {

using namespace kvs_flags;

uint8_t meshFlags(const Mesh& mesh) {
    return static_cast<uint8_t>((mesh.textured ? texturedMesh : 0) | (mesh.spareFlag3 ? meshSpareFlag3 : 0) |
                                (mesh.spareFlag4 ? meshSpareFlag4 : 0));
}

int32_t countOf(size_t size) { return static_cast<int32_t>(size); }

}  // namespace

Animation Animation::sampledTracks(std::vector<PositionKey> positions, std::vector<RotationKey> rotations) {
    Animation animation;
    animation.kind = sampled;
    TrackEntry entry;
    entry.flags = static_cast<uint8_t>((positions.empty() ? 0 : hasPositionTrack) | (rotations.empty() ? 0 : hasRotationTrack));
    entry.positions = std::move(positions);
    entry.rotations = std::move(rotations);
    if (entry.flags != 0) animation.tracks.push_back(std::move(entry));
    return animation;
}

Matrix4 ObjectHeader::identity() {
    Matrix4 matrix;
    matrix.setIdentity();
    return matrix;
}

KvsWriter& KvsWriter::int32(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) data.push_back(static_cast<uint8_t>(bits >> shift));
    return *this;
}

KvsWriter& KvsWriter::int16(int16_t value) {
    const auto bits = static_cast<uint16_t>(value);
    data.push_back(static_cast<uint8_t>(bits));
    data.push_back(static_cast<uint8_t>(bits >> 8));
    return *this;
}

KvsWriter& KvsWriter::uint8(uint8_t value) {
    data.push_back(value);
    return *this;
}

KvsWriter& KvsWriter::float32(float value) { return int32(bitCast<int32_t>(value)); }

KvsWriter& KvsWriter::string(const std::string& text) { return chars(text).uint8(0); }

KvsWriter& KvsWriter::chars(const std::string& text) {
    data.insert(data.end(), text.begin(), text.end());
    return *this;
}

KvsWriter& KvsWriter::point(const Vector3& point) { return float32(point.x).float32(point.z).float32(point.y); }

KvsWriter& KvsWriter::colour(const Vector3& colour) { return float32(colour.x).float32(colour.y).float32(colour.z); }

KvsWriter& KvsWriter::rotation(const Matrix4& rotation) {
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row) float32(rotation.m[row][column]);
    return *this;
}

KvsWriter& KvsWriter::magic(int version) { return chars("kvor00" + std::to_string(version)); }

KvsWriter& KvsWriter::header(const SceneFile& scene, int32_t meshCount, int32_t cameraCount) {
    string(scene.name).int32(scene.firstFrame).int32(scene.lastFrame).int32(scene.headerValueC);
    return int32(scene.frameStep).int32(meshCount).int32(cameraCount).int32(scene.extraCount);
}

KvsWriter& KvsWriter::environment(const Environment& environment) {
    uint8(environment.flags);
    if (environment.flags & environmentHasName)
        string(environment.name);
    else if (!(environment.flags & environmentWithoutColour))
        colour(environment.colour);
    if (!(environment.flags & environmentWithoutAmbient)) colour(environment.ambient);
    return *this;
}

KvsWriter& KvsWriter::fog(const Fog& fog) {
    uint8(fog.flags);
    if (!(fog.flags & fogOn)) return *this;
    if (fog.flags & fogExponential) return float32(fog.density);
    return float32(fog.start).float32(fog.end);
}

KvsWriter& KvsWriter::materialSection(const std::vector<MaterialSet>& sets) {
    int32(countOf(sets.size()));
    for (const MaterialSet& set : sets) materialSet(set);
    return *this;
}

KvsWriter& KvsWriter::materialSet(const MaterialSet& set) {
    int32(set.storedCount.value_or(countOf(set.materials.size())));
    for (const Material& each : set.materials) material(each);
    return *this;
}

KvsWriter& KvsWriter::material(const Material& material) {
    point(material.ambient).point(material.diffuse).point(material.specular);
    float32(material.transparency).uint8(material.flags).uint8(static_cast<uint8_t>(material.textureNames.size()));
    for (const std::string& name : material.textureNames) string(name);
    return *this;
}

KvsWriter& KvsWriter::objectHeader(const ObjectHeader& header, uint8_t extraFlags) {
    string(header.name);
    uint8(static_cast<uint8_t>(extraFlags | (header.parentName ? hasParent : 0)));
    if (header.parentName) string(*header.parentName);
    int16(header.tag).rotation(header.rotation);
    return point(header.position).point(header.restPosition);
}

KvsWriter& KvsWriter::mesh(const Mesh& mesh) {
    objectHeader(mesh.header, meshFlags(mesh));
    if (mesh.textured)
        int32(mesh.materialIndex);
    else
        colour(mesh.flatColour);
    int32(countOf(mesh.vertices.size()));
    for (const Vector3& vertex : mesh.vertices) point(vertex);
    int32(countOf(mesh.faces.size()));
    for (const Face& face : mesh.faces)
        int32(face.a).int32(face.b).int32(face.c).int16(static_cast<int16_t>(face.subMaterial));
    int32(countOf(mesh.textureVertices.size()));
    if (!mesh.textureVertices.empty()) {
        for (const TextureVertex& vertex : mesh.textureVertices) float32(vertex.u).float32(vertex.v);
        int32(0);  // four bytes the reader passes over
        for (const TextureFace& face : mesh.textureFaces) int32(face.ta).int32(face.tb).int32(face.tc);
    }
    return animation(mesh.animation, false);
}

KvsWriter& KvsWriter::camera(const Camera& camera) {
    const bool target = camera.cameraKind == Camera::targetKind;
    uint8(camera.cameraKind).objectHeader(camera.header);
    if (target) objectHeader(camera.targetHeader);
    animation(camera.animation, true);
    if (target) animation(camera.targetAnimation, true);
    return fieldOfView(camera.fieldOfView);
}

KvsWriter& KvsWriter::animation(const Animation& animation, bool ofCamera) {
    uint8(animation.kind);
    if (animation.kind != Animation::sampled) return *this;
    for (const TrackEntry& entry : animation.tracks) trackEntry(entry, ofCamera);
    return uint8(endOfTrackList);
}

KvsWriter& KvsWriter::trackEntry(const TrackEntry& entry, bool ofCamera) {
    uint8(entry.flags);
    if (entry.flags & hasPositionTrack) {
        int32(countOf(entry.positions.size()));
        for (const PositionKey& key : entry.positions) int32(key.time).point(key.value);
    }
    if (entry.flags & hasRotationTrack) {
        int32(countOf(entry.rotations.size()));
        for (const RotationKey& key : entry.rotations) {
            int32(key.time).float32(key.value.x);
            if (!ofCamera) float32(key.value.z).float32(key.value.y).float32(key.value.w);
        }
    }
    return *this;
}

KvsWriter& KvsWriter::fieldOfView(const std::vector<float>& entries) {
    int32(countOf(entries.size()));
    for (float entry : entries) int32(0).float32(entry);  // four bytes the reader passes over, then the value
    return *this;
}

std::vector<uint8_t> sceneFileBytes(const SceneFile& scene) {
    KvsWriter writer;
    writer.magic(scene.version).header(scene, countOf(scene.meshes.size()), countOf(scene.cameras.size()));
    writer.environment(scene.environment);
    if (scene.version == 2) writer.fog(scene.fog);
    writer.materialSection(scene.materialSets);
    for (const Mesh& mesh : scene.meshes) writer.mesh(mesh);
    for (const Camera& camera : scene.cameras) writer.camera(camera);
    return writer.bytes();
}

void saveSceneFile(const SceneFile& scene, const std::filesystem::path& path) {
    saveBytes(sceneFileBytes(scene), path);
}

void saveBytes(const std::vector<uint8_t>& bytes, const std::filesystem::path& path) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace kvs
