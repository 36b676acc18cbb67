#pragma once
// Values of an accessor whose range has been checked, as floats or indices.

#include <tiny_gltf.h>

#include <cstdint>
#include <vector>

namespace gltf_import {

// count x components floats; integer components are normalized when the
// accessor says so and taken as they are otherwise. An accessor with no buffer
// view gives zeros.
std::vector<float> readFloats(const tinygltf::Model& model, int accessor, int components);

// The whole numbers of a scalar accessor of unsigned integers.
std::vector<uint32_t> readIndices(const tinygltf::Model& model, int accessor);

}  // namespace gltf_import
