#pragma once
// Triangle meshes: vertices as stored, their camera-space copies and the faces.

#include <cstdint>
#include <vector>

#include "anim/tracks.h"
#include "math/vector3.h"
#include "scene/scene_object.h"

class Material;

struct Face {
    Vector3* corners[3] = {};  // entries of the mesh's working vertices, in file order a, b, c
    float u[3] = {};
    float v[3] = {};
    Material* material = nullptr;  // only in a textured mesh
};

class Mesh : public SceneObject {
public:
    // Both vertex arrays get count entries; faces refer to the working ones.
    void allocateVertices(int32_t count);
    void allocateFaces(int32_t count);
    void setFlatColour(const Vector3& colour) { flatColour = colour; }
    void release();

    std::vector<Vector3> baseVertices;  // world positions with the mesh at rest
    std::vector<Face> faces;
    std::vector<Vector3> vertices;  // camera space, rewritten every frame
    int32_t vertexCount = 0;
    int32_t faceCount = 0;
    PositionTrack positionTrack;
    RotationTrack rotationTrack;
    uint16_t materialIndex = 0;  // the mesh's material set, when textured
    Vector3 flatColour;          // red, green, blue of an untextured mesh; not drawn
    int32_t textured = 0;
    uint8_t spareFlag3 = 0;
    uint8_t spareFlag4 = 0;
};
