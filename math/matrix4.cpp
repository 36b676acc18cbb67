#include "math/matrix4.h"

void Matrix4::setZero() {
    for (auto& row : m)
        for (float& element : row) element = 0.0f;
}

void Matrix4::setIdentity() {
    setZero();
    for (int i = 0; i < 4; ++i) m[i][i] = 1.0f;
}

void Matrix4::setFromQuaternion(const Quaternion& q) {
    const float n = q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w;
    const float s = n != 0.0f ? 2.0f / n : 1.0f;
    const float xs = q.x * s, ys = q.y * s, zs = q.z * s;
    const float wx = q.w * xs, wy = q.w * ys, wz = q.w * zs;
    const float xx = q.x * xs, xy = q.x * ys, xz = q.x * zs;
    const float yy = q.y * ys, yz = q.y * zs, zz = q.z * zs;
    m[0][0] = 1.0f - (yy + zz);
    m[0][1] = xy - wz;
    m[0][2] = xz + wy;
    m[1][0] = xy + wz;
    m[1][1] = 1.0f - (xx + zz);
    m[1][2] = yz - wx;
    m[2][0] = xz - wy;
    m[2][1] = yz + wx;
    m[2][2] = 1.0f - (xx + yy);
}

void Matrix4::swapXZColumns() {
    for (int i = 0; i < 3; ++i) {
        const float first = m[i][0];
        m[i][0] = m[i][2];
        m[i][2] = first;
    }
}

Matrix4 operator*(const Matrix4& p, const Matrix4& q) {
    Matrix4 product;
    product.setIdentity();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            product.m[i][j] = p.m[i][0] * q.m[0][j] + p.m[i][1] * q.m[1][j] + p.m[i][2] * q.m[2][j];
    return product;
}
