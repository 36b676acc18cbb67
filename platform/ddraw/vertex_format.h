#pragma once
// Flexible vertex formats: which fields a vertex has and where they sit.
// Internal to the platform layer.

#include "platform/layer.h"

namespace platform {

// Byte offsets of a vertex's fields, -1 for a field it lacks. Fields follow one
// another in the order position, rhw, normal, reserved, diffuse, specular,
// then texture coordinate pairs.
struct VertexLayout {
    bool transformed;  // XYZRHW: screen pixels with 1/w
    int rhw = -1;
    int normal = -1;
    int diffuse = -1;
    int specular = -1;
    int texture = -1;  // the first pair, (tu, tv)
    DWORD stride = 0;
};

// Positions XYZ or XYZRHW, an optional normal (not with RHW), the reserved
// DWORD, diffuse, specular and up to eight 2D texture coordinate pairs.
bool validVertexFormat(DWORD vertexFormat);
VertexLayout vertexLayout(DWORD vertexFormat);

}  // namespace platform
