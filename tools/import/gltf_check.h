#pragma once
// The second stage: every reference of the model points at something that
// exists, every accessor lies inside its buffer, the nodes form trees at most
// 1000 deep and the values are numbers. What passes can be converted without further checks.

#include <tiny_gltf.h>

namespace gltf_import {

// Throws ImportError naming the first problem found.
void checkGltf(const tinygltf::Model& model);

// Bytes of one element of an accessor, 0 for an unknown type.
size_t elementSize(const tinygltf::Accessor& accessor);

}  // namespace gltf_import
