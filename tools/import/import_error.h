#pragma once
// What makes an import fail: the input is not a scene the tool can carry over
// whole, or the output cannot be written. The text names the problem; the
// program adds the file's name.

#include <stdexcept>

namespace gltf_import {

struct ImportError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace gltf_import
