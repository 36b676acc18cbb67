#pragma once
// Moving a mesh to a frame and carrying its vertices into camera space.

#include <cstdint>

#include "scene/camera.h"
#include "scene/mesh.h"

// Fills mesh.vertices from mesh.baseVertices with the camera's current
// position and rotation: a rotation track turns the mesh about its rest
// position, a position track moves the rest position to the frame's.
void transformMesh(Mesh& mesh, int32_t frame, const Camera& camera);
