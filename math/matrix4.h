#pragma once

#include "math/quaternion.h"

// Sixteen floats, row-major: m[i][j] is row i, column j. Vectors are columns
// (v' = M v). Only the upper-left 3 x 3 block holds meaning: every matrix of the
// engine is a rotation, and every operation but setZero and setIdentity reads
// and writes that block alone.
struct Matrix4 {
    float m[4][4] = {};

    void setZero();
    void setIdentity();
    // The rotation of q scaled to unit length; the zero quaternion gives the identity.
    void setFromQuaternion(const Quaternion& q);
    // Afterwards M (x, y, z) equals the old M (z, y, x).
    void swapXZColumns();
};

// Product of the rotation blocks, so that (p * q) v = p (q v). Row 3 and
// column 3 of the result are those of the identity.
Matrix4 operator*(const Matrix4& p, const Matrix4& q);
