#include "tools/make_datas/mesh_builder.h"

#include <algorithm>

namespace datas {

MeshBuilder::MeshBuilder(const std::string& name, int32_t materialSet) {
    mesh.header.name = name;
    mesh.textured = true;
    mesh.materialIndex = materialSet;
}

int32_t MeshBuilder::vertex(const Vector3& position, float u, float v) {
    mesh.vertices.push_back(position);
    mesh.textureVertices.push_back({u, v});
    return static_cast<int32_t>(mesh.vertices.size() - 1);
}

void MeshBuilder::triangle(int32_t a, int32_t b, int32_t c, const Vector3& outward, uint16_t subMaterial) {
    const Vector3& pa = mesh.vertices[static_cast<size_t>(a)];
    const Vector3 normal = (mesh.vertices[static_cast<size_t>(b)] - pa).cross(mesh.vertices[static_cast<size_t>(c)] - pa);
    // The device keeps triangles whose corners turn counter-clockwise on the
    // screen; in the engine's left-handed camera space that is a cross product
    // pointing away from the viewer.
    if (dot(normal, outward) > 0.0f) std::swap(b, c);
    face(a, b, c, subMaterial);
}

void MeshBuilder::face(int32_t a, int32_t b, int32_t c, uint16_t subMaterial) {
    mesh.faces.push_back({a, b, c, subMaterial});
    mesh.textureFaces.push_back({a, b, c});
}

void MeshBuilder::quad(int32_t a, int32_t b, int32_t c, int32_t d, const Vector3& outward, uint16_t subMaterial) {
    triangle(a, b, c, outward, subMaterial);
    triangle(a, c, d, outward, subMaterial);
}

void MeshBuilder::surface(int columns, int rows, const std::function<SurfacePoint(float, float)>& surface,
                          const std::function<Vector3(const Vector3&)>& outward, uint16_t subMaterial) {
    const auto first = static_cast<int32_t>(mesh.vertices.size());
    for (int row = 0; row <= rows; ++row)
        for (int column = 0; column <= columns; ++column) {
            const SurfacePoint point =
                surface(static_cast<float>(column) / static_cast<float>(columns), static_cast<float>(row) / static_cast<float>(rows));
            vertex(point.position, point.u, point.v);
        }
    const int32_t stride = columns + 1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int32_t a = first + row * stride + column;
            const Vector3& corner = mesh.vertices[static_cast<size_t>(a)];
            const Vector3& opposite = mesh.vertices[static_cast<size_t>(a + stride + 1)];
            const Vector3 centre = scaled(corner + opposite, 0.5f);
            quad(a, a + 1, a + stride + 1, a + stride, outward(centre), subMaterial);
        }
}

void MeshBuilder::sortFacesByMaterial() {
    std::vector<size_t> order(mesh.faces.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return mesh.faces[a].subMaterial < mesh.faces[b].subMaterial; });
    std::vector<kvs::Face> faces;
    std::vector<kvs::TextureFace> textureFaces;
    for (size_t k : order) {
        faces.push_back(mesh.faces[k]);
        textureFaces.push_back(mesh.textureFaces[k]);
    }
    mesh.faces = std::move(faces);
    mesh.textureFaces = std::move(textureFaces);
}

void MeshBuilder::setPivot(const Vector3& pivot) {
    mesh.header.position = pivot;
    mesh.header.restPosition = pivot;
}

Vector3 scaled(const Vector3& vector, float factor) { return {vector.x * factor, vector.y * factor, vector.z * factor}; }

float dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vector3 normalized(Vector3 vector) {
    vector.normalize();
    return vector;
}

}  // namespace datas
