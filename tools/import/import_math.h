#pragma once
// Double-precision transforms for the conversion: node matrices compose over
// deep hierarchies and long animations, and only the results become floats.

#include <array>
#include <cmath>

#include "math/vector3.h"

namespace gltf_import {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a) {
    const double l = length(a);
    return l > 0 ? a * (1 / l) : a;
}

// Unit quaternion, scalar last as glTF stores it.
struct Quat {
    double x = 0, y = 0, z = 0, w = 1;
};

inline Quat operator*(Quat a, Quat b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
inline Quat conjugate(Quat q) { return {-q.x, -q.y, -q.z, q.w}; }
inline Quat normalized(Quat q) {
    const double l = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    return l > 0 ? Quat{q.x / l, q.y / l, q.z / l, q.w / l} : Quat{};
}
inline Vec3 rotate(Quat q, Vec3 v) {
    const Quat p = q * Quat{v.x, v.y, v.z, 0} * conjugate(q);
    return {p.x, p.y, p.z};
}

// A 3 x 4 affine matrix: m[row][column], the last column the translation.
struct Affine {
    std::array<std::array<double, 4>, 3> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

    Vec3 apply(Vec3 v) const {
        return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z + m[0][3],
                m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z + m[1][3],
                m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z + m[2][3]};
    }
    Vec3 translation() const { return {m[0][3], m[1][3], m[2][3]}; }
    double determinant() const {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    }
};

inline Affine operator*(const Affine& a, const Affine& b) {
    Affine r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = j == 3 ? a.m[i][3] : 0.0;
            for (int k = 0; k < 3; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

// Translation, then rotation, then scale applied to a point: T R S.
inline Affine fromTrs(Vec3 t, Quat q, Vec3 s) {
    Affine r;
    const Vec3 columns[3] = {rotate(q, {s.x, 0, 0}), rotate(q, {0, s.y, 0}), rotate(q, {0, 0, s.z})};
    for (int j = 0; j < 3; ++j) {
        r.m[0][j] = columns[j].x;
        r.m[1][j] = columns[j].y;
        r.m[2][j] = columns[j].z;
    }
    r.m[0][3] = t.x, r.m[1][3] = t.y, r.m[2][3] = t.z;
    return r;
}

// glTF is right-handed, the engine left-handed, both with y up: mirroring z
// keeps the picture as it was, the right way round and the same way up.
inline Vec3 toEngine(Vec3 v) { return {v.x, v.y, -v.z}; }
inline Quat toEngine(Quat q) { return {-q.x, -q.y, q.z, q.w}; }

inline Vector3 toVector3(Vec3 v) { return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)}; }

}  // namespace gltf_import
