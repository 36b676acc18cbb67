#pragma once
// The vertex the engine draws its meshes with, as tests draw and read it.

namespace testing_support {

// D3DFVF_VERTEX: camera-space position, normal, texture coordinates.
struct Vertex {
    float x, y, z, nx, ny, nz, tu, tv;
};

}  // namespace testing_support
