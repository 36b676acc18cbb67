#pragma once

#include <cmath>

#include "math/matrix4.h"

// A point, a direction or a colour (red in x, green in y, blue in z).
struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // Scales to unit length; a zero vector stays as it is.
    void normalize() {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length == 0.0f) return;
        x /= length;
        y /= length;
        z /= length;
    }

    Vector3 cross(const Vector3& b) const { return {y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x}; }

    // The rotation block of m times this vector; row 3 and column 3 are not read.
    Vector3 transformed(const Matrix4& m) const {
        return {m.m[0][0] * x + m.m[0][1] * y + m.m[0][2] * z, m.m[1][0] * x + m.m[1][1] * y + m.m[1][2] * z,
                m.m[2][0] * x + m.m[2][1] * y + m.m[2][2] * z};
    }
};

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// One reciprocal, three products: division by zero follows IEEE arithmetic.
inline Vector3 operator/(const Vector3& a, float s) {
    const float k = 1.0f / s;
    return {a.x * k, a.y * k, a.z * k};
}
