#pragma once
// Builds textured meshes for the demo scenes. Each vertex carries its own
// texture coordinate (texture vertex k belongs to vertex k), and every face is
// given with its outward side named, so that it faces the viewer from outside
// whatever order the shape produces its corners in.

#include <cstdint>
#include <functional>
#include <string>

#include "tools/kvs/kvs_file.h"

namespace datas {

// A point on a parametric surface with its texture coordinate.
struct SurfacePoint {
    Vector3 position;
    float u = 0.0f, v = 0.0f;
};

class MeshBuilder {
public:
    MeshBuilder(const std::string& name, int32_t materialSet);

    int32_t vertex(const Vector3& position, float u, float v);
    // A triangle whose front is the side outward points to.
    void triangle(int32_t a, int32_t b, int32_t c, const Vector3& outward, uint16_t subMaterial = 0);
    // A face exactly as given, corners in drawing order.
    void face(int32_t a, int32_t b, int32_t c, uint16_t subMaterial);
    // Two triangles a, b, c and a, c, d.
    void quad(int32_t a, int32_t b, int32_t c, int32_t d, const Vector3& outward, uint16_t subMaterial = 0);
    // A grid of (columns + 1) x (rows + 1) points of surface(s, t), s and t
    // from 0 to 1; outward(point) gives the front side near a point.
    void surface(int columns, int rows, const std::function<SurfacePoint(float s, float t)>& surface,
                 const std::function<Vector3(const Vector3& point)>& outward, uint16_t subMaterial = 0);

    // Groups the faces by sub-material (stable), so that drawing changes
    // material once per group instead of from face to face.
    void sortFacesByMaterial();
    // The pivot about which rotation tracks turn the mesh.
    void setPivot(const Vector3& pivot);
    kvs::Mesh take() { return std::move(mesh); }
    const kvs::Mesh& current() const { return mesh; }

private:
    kvs::Mesh mesh;
};

Vector3 scaled(const Vector3& vector, float factor);
float dot(const Vector3& a, const Vector3& b);
Vector3 normalized(Vector3 vector);

}  // namespace datas
