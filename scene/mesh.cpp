#include "scene/mesh.h"

void Mesh::allocateVertices(int32_t count) {
    vertexCount = count;
    baseVertices.assign(static_cast<size_t>(count), Vector3{});
    vertices.assign(static_cast<size_t>(count), Vector3{});
}

void Mesh::allocateFaces(int32_t count) {
    faceCount = count;
    faces.assign(static_cast<size_t>(count), Face{});
}

void Mesh::release() {
    vertices = {};
    baseVertices = {};
    faces = {};
    positionTrack = {};
    rotationTrack = {};
    vertexCount = 0;
    faceCount = 0;
}
