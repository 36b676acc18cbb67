#pragma once
// The triangles of a node's mesh in the engine's space, placed by the node's
// transform at frame 0 (its static scale baked in), with their texture
// coordinates and the sub-material of each face.

#include <tiny_gltf.h>

#include <vector>

#include "tools/import/import_math.h"
#include "tools/import/import_report.h"
#include "tools/import/material_convert.h"
#include "tools/kvs/kvs_file.h"

namespace gltf_import {

// Fills mesh's vertices, faces, texture vertices and texture faces.
void convertGeometry(const tinygltf::Model& model, int meshIndex, const Affine& placement,
                     const ConvertedMaterials& materials, kvs::Mesh& mesh, ImportReport& report);

// The corners of the triangles a primitive of mode TRIANGLES, TRIANGLE_STRIP
// or TRIANGLE_FAN draws from its vertex indices, three per triangle, in the
// file's winding; degenerate triangles are left out.
std::vector<uint32_t> triangleCorners(int mode, const std::vector<uint32_t>& indices);

}  // namespace gltf_import
