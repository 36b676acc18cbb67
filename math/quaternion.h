#pragma once

// A rotation key as stored by animation tracks: the scalar part w comes last.
// It need not have unit length.
struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};
