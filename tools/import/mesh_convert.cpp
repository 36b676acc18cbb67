#include "tools/import/mesh_convert.h"

#include <limits>
#include <numeric>

#include "tools/import/accessor_data.h"
#include "tools/import/import_error.h"

namespace gltf_import {

namespace {

// Faces and vertices are counted in 32-bit integers by the scene file.
constexpr size_t mostRecords = static_cast<size_t>(std::numeric_limits<int32_t>::max());

void addTriangle(std::vector<uint32_t>& corners, uint32_t a, uint32_t b, uint32_t c) {
    if (a == b || b == c || a == c) return;
    corners.insert(corners.end(), {a, b, c});
}

std::string meshName(const tinygltf::Model& model, int index) {
    const std::string& name = model.meshes[static_cast<size_t>(index)].name;
    return "mesh " + (name.empty() ? std::to_string(index) : "\"" + name + "\"");
}

}  // namespace

std::vector<uint32_t> triangleCorners(int mode, const std::vector<uint32_t>& v) {
    std::vector<uint32_t> corners;
    const size_t n = v.size();
    if (mode == TINYGLTF_MODE_TRIANGLES) {
        for (size_t i = 0; i + 2 < n; i += 3) addTriangle(corners, v[i], v[i + 1], v[i + 2]);
    } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
        // Every other triangle of a strip turns the other way: swapping its
        // last two corners keeps the strip's facing.
        for (size_t i = 0; i + 2 < n; ++i)
            if (i % 2 == 0)
                addTriangle(corners, v[i], v[i + 1], v[i + 2]);
            else
                addTriangle(corners, v[i], v[i + 2], v[i + 1]);
    } else if (mode == TINYGLTF_MODE_TRIANGLE_FAN) {
        for (size_t i = 1; i + 1 < n; ++i) addTriangle(corners, v[i], v[i + 1], v[0]);
    }
    return corners;
}

void convertGeometry(const tinygltf::Model& model, int meshIndex, const Affine& placement,
                     const ConvertedMaterials& materials, kvs::Mesh& mesh, ImportReport& report) {
    const tinygltf::Mesh& source = model.meshes[static_cast<size_t>(meshIndex)];
    const std::string owner = meshName(model, meshIndex);
    // A mirroring transform turns every triangle over; swapping two corners turns it back.
    const bool mirrored = placement.determinant() < 0;
    if (!source.weights.empty()) report.note(owner + ": morph targets not carried over, left at rest");
    for (const tinygltf::Primitive& primitive : source.primitives) {
        if (primitive.mode < TINYGLTF_MODE_TRIANGLES) {
            report.note(owner + ": points and lines not carried over");
            continue;
        }
        const auto position = primitive.attributes.find("POSITION");
        if (position == primitive.attributes.end()) {
            report.note(owner + ": a primitive without positions left out");
            continue;
        }
        if (primitive.attributes.contains("COLOR_0")) report.note(owner + ": vertex colours not carried over");
        if (!primitive.targets.empty()) report.note(owner + ": morph targets not carried over, left at rest");
        const std::vector<float> points = readFloats(model, position->second, 3);
        const size_t count = points.size() / 3;
        const auto texcoord = primitive.attributes.find("TEXCOORD_0");
        const std::vector<float> uv = texcoord != primitive.attributes.end() ? readFloats(model, texcoord->second, 2)
                                                                             : std::vector<float>(count * 2);
        std::vector<uint32_t> indices;
        if (primitive.indices >= 0) {
            indices = readIndices(model, primitive.indices);
        } else {
            indices.resize(count);
            std::iota(indices.begin(), indices.end(), 0u);
        }
        const std::vector<uint32_t> corners = triangleCorners(primitive.mode, indices);
        const size_t first = mesh.vertices.size();
        if (count > mostRecords - first || corners.size() / 3 > mostRecords - mesh.faces.size())
            throw ImportError(owner + " has more vertices or faces than a scene file can hold");
        for (size_t i = 0; i < count; ++i) {
            const Vec3 p = toEngine(placement.apply({points[i * 3], points[i * 3 + 1], points[i * 3 + 2]}));
            mesh.vertices.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
            mesh.textureVertices.push_back({uv[i * 2], uv[i * 2 + 1]});
        }
        const uint16_t material =
            primitive.material >= 0 ? static_cast<uint16_t>(primitive.material) : materials.defaultMaterial;
        const bool bothSides = materials.doubleSided[material];
        for (size_t t = 0; t < corners.size(); t += 3) {
            const auto a = static_cast<int32_t>(first + corners[t]);
            auto b = static_cast<int32_t>(first + corners[t + 1]);
            auto c = static_cast<int32_t>(first + corners[t + 2]);
            if (mirrored) std::swap(b, c);
            mesh.faces.push_back({a, b, c, material});
            mesh.textureFaces.push_back({a, b, c});
            // The engine culls every opaque face seen from behind: a
            // two-sided material gets a second face turned the other way.
            if (bothSides) {
                mesh.faces.push_back({a, c, b, material});
                mesh.textureFaces.push_back({a, c, b});
            }
        }
    }
    if (mesh.faces.size() > mostRecords) throw ImportError(owner + " has more faces than a scene file can hold");
}

}  // namespace gltf_import
